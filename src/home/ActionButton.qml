import QtQuick
import Zelfor.Kit

// One entry of the home screen's action column: a symbol badge and a label.
Card {
    id: root

    property string icon
    property string label
    property color accent: Theme.violet
    property real s: 1

    radius: 18
    hoverScale: 1.03
    fill: Qt.rgba(1, 1, 1, 0.05)

    Rectangle {
        id: wash
        readonly property bool mirrored: LayoutMirroring.enabled
        anchors.fill: parent
        visible: root.focused
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: wash.mirrored ? 1 : 0; color: Theme.withOpacity(root.accent, 0.3) }
            GradientStop { position: wash.mirrored ? 0 : 1; color: "transparent" }
        }
    }

    Row {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 14
        anchors.rightMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        spacing: 12

        IconBadge {
            id: badge
            anchors.verticalCenter: parent.verticalCenter
            icon: root.icon
            size: 34 * Math.min(root.s, 1.15)
            tint: root.accent
            fill: Theme.withOpacity(root.accent, 0.16)
            gradient: root.focused
        }

        UiText {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - badge.width - parent.spacing
            text: root.label
            color: "white"
            font.pixelSize: 15
            font.weight: Font.DemiBold
            maximumLineCount: 1
            elide: Text.ElideRight
        }
    }
}
