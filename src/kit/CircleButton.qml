import QtQuick
import QtQuick.Controls
import Zelfor.Kit

// A round symbol button; `focused` comes from the screen, hover is its own.
Item {
    id: root

    property string icon
    property real size: 42
    property color tint: "white"
    property string help: ""
    property bool focused: false
    property var action: null

    readonly property bool hover: pointer.containsMouse

    width: size
    height: size
    scale: hover ? 1.06 : 1
    Behavior on scale { Spring { response: 0.25 } }

    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: root.hover || root.focused ? Theme.raisedHover : Theme.raised
        border.width: root.focused ? 0 : 1
        border.color: Qt.rgba(1, 1, 1, root.hover ? 0.2 : 0.08)
    }

    GradientShape {
        anchors.fill: parent
        radius: width / 2
        borderWidth: 2
        visible: root.focused
    }

    Icon {
        anchors.centerIn: parent
        name: root.icon
        size: 0.38 * root.size
        color: root.tint
    }

    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        onClicked: if (root.action) root.action()
        ToolTip.visible: root.help !== "" && containsMouse
        ToolTip.text: root.help
        ToolTip.delay: 600
    }
}
