import QtQuick
import Zelfor.Kit

// A round symbol button; `focused` comes from the screen, hover is its own. Fill and
// border settle with the scale.
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
        Behavior on color { ColorAnimation { duration: 250 } }
    }

    FocusFrame {
        anchors.fill: parent
        radius: width / 2
        amount: root.focused ? 1 : 0
        // White at 0.2 while hovered, else 0.08.
        hairline: root.hover ? "#33ffffff" : "#14ffffff"
        Behavior on hairline { ColorAnimation { duration: 250 } }
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
    }

    HelpTip {
        objectName: "helpTip"
        shown: root.help !== "" && pointer.containsMouse
        text: root.help
    }
}
