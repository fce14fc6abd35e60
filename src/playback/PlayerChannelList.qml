import QtQuick
import QtQuick.Controls
import Zelfor.App
import Zelfor.Kit
import Zelfor.Playback

// The side panel listing every queue entry; it slides in from the edge where it sits
// (the right one in Arabic). Rows are built only where the list shows them.
Item {
    id: root

    required property PlayerScreenModel screen
    readonly property ListView list: rows

    width: 400
    opacity: root.screen.queueList.shown ? 1 : 0
    visible: opacity > 0
    Behavior on opacity { Spring { response: 0.35 } }

    transform: Translate {
        x: root.screen.queueList.shown ? 0 : (root.LayoutMirroring.enabled ? root.width : -root.width)
        Behavior on x { Spring { response: 0.35 } }
    }

    Connections {
        target: root.screen.queueList
        function onScrollRequested(row) {
            rows.positionViewAtIndex(row, ListView.Center)
        }
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.bg

        // Clicks on the panel do not reach the picture.
        MouseArea {
            anchors.fill: parent
        }
    }

    Rectangle {
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.right: parent.right
        width: 1
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.violet }
            GradientStop { position: 1; color: Theme.cyan }
        }
    }

    Item {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.topMargin: 40
        height: 30

        UiText {
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            text: Localized.text("channel_list")
            color: "white"
            font.family: Theme.roundedFontFamily
            font.pixelSize: 19
            font.weight: Font.Bold
        }

        UiText {
            objectName: "channelCount"
            anchors.right: close.left
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: String(root.screen.queueList.count)
            color: Theme.textDim
            font.pixelSize: 12
            font.weight: Font.DemiBold
        }

        CircleButton {
            id: close
            objectName: "closeListButton"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            icon: "xmark"
            size: 30
            action: () => root.screen.queueList.close()
        }
    }

    ListView {
        id: rows
        objectName: "channelRows"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.topMargin: 12
        anchors.bottomMargin: 20
        clip: true
        spacing: 4
        model: root.screen.queueList.channels
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {
            objectName: "channelScrollBar"
            policy: ScrollBar.AlwaysOn
        }

        // The rows leave the scroll bar's side free: the left one in Arabic.
        delegate: PlayerChannelRow {
            x: rows.effectiveLayoutDirection === Qt.RightToLeft ? 12 : 0
            width: rows.width - 12
            onClicked: row => root.screen.queueList.select(row)
        }
    }
}
