import QtQuick
import Zelfor.Kit

// A round badge holding a symbol; `gradient` gives the accent disc and a white symbol.
Item {
    id: root

    property string icon
    property real size: 44
    property color tint: "white"
    property color fill: Theme.raised
    property bool gradient: false

    width: size
    height: size

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        visible: !root.gradient
        color: root.fill
    }

    GradientShape {
        anchors.fill: parent
        radius: width / 2
        visible: root.gradient
        diagonal: true
    }

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.16)
    }

    Icon {
        anchors.centerIn: parent
        name: root.icon
        size: 0.44 * root.size
        color: root.gradient ? "white" : root.tint
    }
}
