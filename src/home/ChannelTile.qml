import QtQuick
import Zelfor.Kit

// A channel as a tile: its logo (fitted, initials while it loads) above its name.
Card {
    id: root

    required property string name
    required property string logo
    property real logoWidth: width - 2 * 10
    property real logoHeight: 66
    property real logoFontSize: 18
    property real nameSize: 13

    fill: Theme.surface
    hoverScale: 1.04

    Column {
        anchors.centerIn: parent
        width: parent.width - 2 * 10
        spacing: 8

        RemoteImage {
            anchors.horizontalCenter: parent.horizontalCenter
            width: root.logoWidth
            height: root.logoHeight
            url: root.logo
            title: root.name
            fill: false
            fontSize: root.logoFontSize
        }

        UiText {
            width: parent.width
            text: root.name
            color: "white"
            font.pointSize: Theme.pointSize(root.nameSize)
            font.weight: Font.DemiBold
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
        }
    }
}
