import QtQuick
import Zelfor.Kit

// A small tinted capsule with a text and an optional symbol; given less than its
// natural width, the text elides.
Item {
    id: root

    property string text
    property color color: Theme.cyan
    property string icon: ""

    implicitWidth: label.implicitWidth + (root.icon !== "" ? symbol.implicitWidth + row.spacing : 0) + 18
    implicitHeight: row.implicitHeight + 8
    width: implicitWidth
    height: implicitHeight

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.withOpacity(root.color, 0.16)

        Hairline {
            radius: parent.radius
            border.color: Theme.withOpacity(root.color, 0.35)
        }
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 5

        Icon {
            id: symbol
            anchors.verticalCenter: parent.verticalCenter
            visible: root.icon !== ""
            name: root.icon
            size: 10
            color: root.color
        }

        UiText {
            id: label
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, root.width - root.implicitWidth + implicitWidth)
            text: root.text
            color: root.color
            font.pixelSize: 11
            font.weight: Font.Bold
            maximumLineCount: 1
            elide: Text.ElideRight
        }
    }
}
