import QtQuick
import Zelfor.Playback

// The seek row (while the item is seekable) above the control row, over a dark fade.
Item {
    id: root

    required property PlayerScreenModel screen
    // The top of the seek and control rows.
    readonly property real controlsY: column.y

    implicitHeight: column.implicitHeight + 50 + 26

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: "transparent" }
            GradientStop { position: 1; color: Qt.rgba(0, 0, 0, 0.88) }
        }
    }

    Column {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.bottomMargin: 26
        spacing: 14

        PlayerSeekRow {
            objectName: "seekRow"
            width: parent.width
            visible: root.screen.seekable
            screen: root.screen
        }

        PlayerControlRow {
            objectName: "controlRow"
            width: parent.width
            screen: root.screen
        }
    }
}
