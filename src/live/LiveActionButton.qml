import QtQuick
import Zelfor.Kit

// An action tile of the live screen: a tinted badge over a short label.
Card {
    id: tile

    property string icon
    property string label
    property color accent: Theme.cyan
    property bool dim: false
    property bool active: false

    focused: false
    radius: 16
    hoverScale: 1.04
    fill: active ? Theme.withOpacity(accent, 0.16) : Theme.surface

    Column {
        anchors.centerIn: parent
        width: parent.width - 12
        spacing: 6
        opacity: tile.dim ? 0.45 : 1

        IconBadge {
            anchors.horizontalCenter: parent.horizontalCenter
            icon: tile.icon
            size: 30
            tint: tile.accent
            fill: Theme.withOpacity(tile.accent, 0.18)
        }

        UiText {
            objectName: "tileLabel"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: tile.label
            color: "white"
            font.pointSize: Theme.pointSize(12)
            font.weight: Font.Medium
            wrapMode: Text.WordWrap
            maximumLineCount: 2
            // Shrinks to 85 % before it truncates.
            fontSizeMode: Text.Fit
            minimumPointSize: Theme.pointSize(12 * 0.85)
            elide: Text.ElideRight
        }
    }
}
