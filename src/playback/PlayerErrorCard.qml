import QtQuick
import Zelfor.App
import Zelfor.Kit
import Zelfor.Playback

// The engine's failure: a warning symbol, the message, Retry and Back.
Rectangle {
    id: root

    required property PlayerScreenModel screen

    width: column.implicitWidth + 60
    height: column.implicitHeight + 60
    radius: 24
    color: Theme.withOpacity(Theme.surface, 0.92)
    border.width: 1
    border.color: Qt.rgba(1, 1, 1, 0.1)

    // Clicks on the card do not reach the picture.
    MouseArea {
        anchors.fill: parent
    }

    Column {
        id: column
        anchors.centerIn: parent
        spacing: 14

        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "exclamationmark.triangle.fill"
            size: 34
            color: Theme.amber
        }

        UiText {
            objectName: "errorMessage"
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, 460)
            text: root.screen.error
            color: "white"
            font.pixelSize: 15
            font.weight: Font.Medium
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 12

            PillButton {
                objectName: "retryButton"
                title: Localized.text("retry")
                icon: "arrow.clockwise"
                primary: true
                height: 42
                action: () => root.screen.retry()
            }

            PillButton {
                objectName: "errorBackButton"
                title: Localized.text("back")
                height: 42
                action: () => root.screen.back()
            }
        }
    }
}
