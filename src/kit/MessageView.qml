import QtQuick
import Zelfor.Kit

// A symbol over a message, in the middle of the area, with an optional retry
// button. The button always carries the refresh symbol and the primary look.
Item {
    id: root

    property string icon
    property string text
    property color color: Theme.red
    property string actionTitle: ""
    property var action: null

    readonly property bool hasAction: !!action

    Column {
        anchors.centerIn: parent
        width: Math.min(440, parent.width - 48)
        spacing: 14

        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: root.icon
            size: 38
            color: root.color
        }

        UiText {
            width: parent.width
            text: root.text
            color: Theme.text
            font.pixelSize: 14
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
        }

        Item {
            width: parent.width
            height: retry.height + 4
            visible: root.hasAction

            PillButton {
                id: retry
                objectName: "retryButton"
                anchors.bottom: parent.bottom
                anchors.horizontalCenter: parent.horizontalCenter
                title: root.actionTitle
                icon: "arrow.clockwise"
                primary: true
                focused: false
                height: 42
                action: root.action
            }
        }
    }
}
