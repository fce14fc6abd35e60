import QtQuick
import Zelfor.Kit

// The capsule push button. A primary button wears the accent gradient and a violet
// glow; focus draws a white border, hover lifts it. Fill, border and glow settle with
// the scale.
Item {
    id: root

    enum FillStyle { Raised, RaisedHover, Accent }

    property string title
    property string icon: ""
    property bool primary: false
    property bool focused: false
    property var action: null

    readonly property bool hover: pointer.containsMouse
    readonly property int fillStyle: primary ? PillButton.Accent : hover ? PillButton.RaisedHover : PillButton.Raised
    readonly property real borderWidth: focused ? 2 : 1
    readonly property real borderOpacity: focused ? 1 : primary ? 0.25 : hover ? 0.2 : 0.1
    readonly property real glowOpacity: primary ? (hover ? 0.55 : 0.35) : 0
    readonly property real brightness: primary && hover ? 0.06 : 0

    implicitWidth: label.implicitWidth + 40
    width: implicitWidth
    height: 42
    scale: hover ? 1.03 : 1
    Behavior on scale { Spring { response: 0.25 } }

    Loader {
        anchors.fill: parent
        active: root.primary
        sourceComponent: Item {
            Shadow {
                target: accentFill
                color: Theme.violet
                blur: 12
                offsetY: 4
                shapeRadius: root.height / 2
                opacity: root.glowOpacity
                Behavior on opacity { Spring { response: 0.25 } }
            }

            GradientShape {
                id: accentFill
                anchors.fill: parent
                radius: height / 2
            }
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        visible: !root.primary
        color: root.fillStyle === PillButton.RaisedHover ? Theme.raisedHover : Theme.raised
        Behavior on color { ColorAnimation { duration: 250 } }
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: "white"
        opacity: root.brightness
        Behavior on opacity { Spring { response: 0.25 } }
    }

    Rectangle {
        id: outline

        property real shownOpacity: root.borderOpacity

        anchors.fill: parent
        radius: height / 2
        color: "transparent"
        border.width: root.borderWidth
        border.color: Qt.rgba(1, 1, 1, outline.shownOpacity)
        Behavior on shownOpacity { Spring { response: 0.25 } }
    }

    Row {
        id: label
        anchors.centerIn: parent
        spacing: 8

        Icon {
            anchors.verticalCenter: parent.verticalCenter
            visible: root.icon !== ""
            name: root.icon
            size: 14
        }

        UiText {
            anchors.verticalCenter: parent.verticalCenter
            text: root.title
            color: "white"
            font.pixelSize: 14
            font.weight: Font.DemiBold
            maximumLineCount: 1
        }
    }

    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        onClicked: if (root.action) root.action()
    }
}
