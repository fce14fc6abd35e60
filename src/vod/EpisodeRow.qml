import QtQuick
import Zelfor.Kit

// One episode: thumbnail with its resume strip, number, duration, title and plot.
// `episode` holds id, label, duration, title, plot, image and progress (-1: none).
Card {
    id: root

    property var episode: ({})

    readonly property real progress: episode.progress

    height: 110
    radius: 16
    fill: Theme.withOpacity(Theme.surface, 0.85)
    hoverScale: 1.01

    Row {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 16

        Item {
            objectName: "thumbnail"
            anchors.verticalCenter: parent.verticalCenter
            width: 160
            height: 90

            RoundedPicture {
                anchors.fill: parent
                url: root.episode.image
                title: root.episode.label
                radius: 11
                fontSize: 18
                shadowOpacity: 0
            }

            Rectangle {
                anchors.fill: parent
                radius: 11
                visible: root.focused
                color: Qt.rgba(0, 0, 0, 0.3)

                Icon {
                    anchors.centerIn: parent
                    name: "play.circle.fill"
                    size: 30
                    color: "white"
                }
            }

            Item {
                objectName: "progressStrip"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 3
                visible: root.progress >= 0

                Rectangle {
                    anchors.fill: parent
                    color: Qt.rgba(0, 0, 0, 0.5)
                }

                Rectangle {
                    objectName: "progressFill"
                    anchors.left: parent.left
                    anchors.top: parent.top
                    anchors.bottom: parent.bottom
                    width: Math.max(0, root.progress) * parent.width
                    color: Theme.cyan
                }
            }
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 160 - 16
            spacing: 5

            Row {
                width: parent.width
                spacing: 8

                UiText {
                    anchors.verticalCenter: parent.verticalCenter
                    text: root.episode.label
                    color: Theme.violetLight
                    font.pixelSize: 12
                    font.weight: Font.Black
                }

                UiText {
                    anchors.verticalCenter: parent.verticalCenter
                    visible: root.episode.duration !== ""
                    text: root.episode.duration
                    color: Theme.textDim
                    font.pixelSize: 11
                }
            }

            UiText {
                width: parent.width
                text: root.episode.title
                color: "white"
                font.pixelSize: 15
                font.weight: Font.DemiBold
                maximumLineCount: 1
                elide: Text.ElideRight
            }

            UiText {
                width: parent.width
                visible: root.episode.plot !== ""
                text: root.episode.plot
                color: Theme.textDim
                font.pixelSize: 12
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
        }
    }
}
