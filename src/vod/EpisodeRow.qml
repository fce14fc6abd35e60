import QtQuick
import Zelfor.Kit

// One episode: thumbnail with its resume strip, number, duration, title and plot.
Card {
    id: root

    property string label
    property string duration
    property string title
    property string plot
    property string image
    // 0...1 of the resume point; -1 without one.
    property real progress: -1

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

            RemoteImage {
                anchors.fill: parent
                url: root.image
                title: root.label
                fill: true
                fontSize: 18
                radius: 11
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

            ResumeStrip {
                objectName: "progressStrip"
                anchors.fill: parent
                visible: root.progress >= 0
                progress: root.progress
                radius: 11
            }
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 160 - 16
            spacing: 5

            Row {
                width: parent.width
                spacing: 8

                AccentText {
                    objectName: "episodeLabel"
                    anchors.verticalCenter: parent.verticalCenter
                    text: root.label
                    font.family: Theme.fontFamily
                    font.pixelSize: 12
                    font.weight: Font.ExtraBold
                }

                UiText {
                    anchors.verticalCenter: parent.verticalCenter
                    visible: root.duration !== ""
                    text: root.duration
                    color: Theme.textDim
                    font.pointSize: Theme.pointSize(11.5)
                }
            }

            UiText {
                width: parent.width
                clip: true
                text: ProviderText.line(root.title)
                color: "white"
                font.pixelSize: 15
                font.weight: Font.DemiBold
                maximumLineCount: 1
                elide: Text.ElideRight
            }

            UiText {
                width: parent.width
                visible: root.plot !== ""
                text: root.plot
                color: Theme.textDim
                font.pointSize: Theme.pointSize(12.5)
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
        }
    }
}
