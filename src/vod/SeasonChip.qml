import QtQuick
import Zelfor.Kit

// One season of the season row: its title and episode count in a capsule.
Item {
    id: root

    property string title
    property int count: 0
    property bool selected: false
    property var action: null

    readonly property bool hover: hoverHandler.hovered

    implicitWidth: label.implicitWidth + 36
    implicitHeight: 38

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        visible: !root.selected
        color: root.hover ? Theme.raisedHover : Theme.raised
    }

    GradientShape {
        anchors.fill: parent
        radius: height / 2
        visible: root.selected
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, root.selected ? 0.25 : 0.08)
    }

    Row {
        id: label
        anchors.centerIn: parent
        spacing: 8

        UiText {
            anchors.verticalCenter: parent.verticalCenter
            text: root.title
            color: "white"
            font.pixelSize: 14
            font.weight: Font.DemiBold
        }

        UiText {
            anchors.verticalCenter: parent.verticalCenter
            text: String(root.count)
            color: root.selected ? Qt.rgba(1, 1, 1, 0.85) : Theme.textDim
            font.pointSize: Theme.pointSize(11.5)
            font.weight: Font.Bold
        }
    }

    HoverHandler {
        id: hoverHandler
    }

    TapHandler {
        onTapped: if (root.action) root.action()
    }
}
