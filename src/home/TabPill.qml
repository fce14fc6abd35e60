import QtQuick
import Zelfor.Kit

// A tab of the favourites screen: its title and count on a capsule, accent-filled when chosen.
Item {
    id: pill

    property string title
    property int count: 0
    property bool selected: false
    property var action: null

    readonly property bool hover: hoverHandler.hovered

    implicitWidth: label.implicitWidth + 2 * 16
    implicitHeight: 36

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        visible: !pill.selected
        color: pill.hover ? Theme.raisedHover : Theme.raised
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.08)
    }

    GradientShape {
        anchors.fill: parent
        radius: height / 2
        visible: pill.selected
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        visible: pill.selected
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.25)
    }

    Row {
        id: label
        anchors.centerIn: parent
        spacing: 7

        UiText {
            anchors.verticalCenter: parent.verticalCenter
            text: pill.title
            color: "white"
            font.pixelSize: 14
            font.weight: Font.DemiBold
        }

        UiText {
            anchors.verticalCenter: parent.verticalCenter
            text: String(pill.count)
            color: "white"
            opacity: 0.85
            font.pixelSize: 11
            font.weight: Font.Bold
        }
    }

    HoverHandler {
        id: hoverHandler
    }

    TapHandler {
        onTapped: if (pill.action) pill.action()
    }
}
