import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Playback

// Back button, the item's picture and titles, and the clock over a dark fade.
Item {
    id: root

    required property PlayerScreenModel screen

    implicitHeight: row.implicitHeight + 34 + 40

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: Qt.rgba(0, 0, 0, 0.85) }
            GradientStop { position: 1; color: "transparent" }
        }
    }

    RowLayout {
        id: row
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 34
        spacing: 16

        BackButton {
            objectName: "backButton"
            action: () => root.screen.back()
        }

        Rectangle {
            visible: root.screen.hasItem
            Layout.preferredWidth: root.screen.live ? 58 : 40
            Layout.preferredHeight: root.screen.live ? 38 : 58
            radius: 8
            color: Theme.withOpacity(Theme.raised, 0.8)
            clip: true

            RemoteImage {
                anchors.fill: parent
                anchors.margins: root.screen.live ? 3 : 0
                url: root.screen.logo
                title: root.screen.title
                fill: !root.screen.live
                fontSize: 12
            }
        }

        Column {
            Layout.fillWidth: true
            spacing: 3

            Row {
                width: parent.width
                spacing: 10

                AccentText {
                    anchors.verticalCenter: parent.verticalCenter
                    visible: root.screen.liveNumber > 0
                    text: String(root.screen.liveNumber)
                    font.family: Theme.fontFamily
                    font.pixelSize: 15
                    font.weight: Font.ExtraBold
                }

                UiText {
                    objectName: "title"
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(implicitWidth, parent.width - x)
                    text: root.screen.title
                    color: "white"
                    font.pixelSize: 20
                    font.weight: Font.Bold
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }
            }

            UiText {
                width: parent.width
                visible: text !== ""
                text: root.screen.subtitle
                color: Qt.rgba(1, 1, 1, 0.75)
                font.pixelSize: 13
                elide: Text.ElideRight
                maximumLineCount: 1
            }
        }

        ClockText {
            objectName: "clock"
            text: root.screen.chrome.clockText
            color: "white"
            font.pixelSize: 22
            font.weight: Font.Bold
        }
    }
}
