import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Live

// The catch-up screen: archive days beside the chosen day's programmes or hourly slots.
Item {
    id: root

    required property CatchUpScreenModel screen

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        spacing: 14
        visible: screen.hasPlaylist

        RowLayout {
            Layout.fillWidth: true
            spacing: 14

            BackButton {
                action: () => screen.back()
            }

            Rectangle {
                objectName: "logoBox"
                Layout.preferredWidth: 60 + 6
                Layout.preferredHeight: 40 + 6
                radius: 10
                color: Theme.raised
                clip: true

                RemoteImage {
                    anchors.fill: parent
                    anchors.margins: 3
                    url: screen.channelLogo
                    title: screen.channelName
                    fill: false
                    fontSize: 12
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2

                UiText {
                    text: Localized.text("catch_up")
                    color: "white"
                    font.family: Theme.roundedFontFamily
                    font.pixelSize: 24
                    font.weight: Font.Bold
                }

                UiText {
                    objectName: "channelName"
                    Layout.fillWidth: true
                    clip: true
                    text: ProviderText.line(screen.channelName)
                    color: Theme.textDim
                    font.pixelSize: 13
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
            }

            Chip {
                objectName: "archiveChip"
                text: screen.archiveText
                color: Theme.cyan
                icon: "clock.arrow.circlepath"
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 16

            ColumnPanel {
                Layout.preferredWidth: 250
                Layout.fillHeight: true

                ListView {
                    objectName: "dayList"
                    anchors.fill: parent
                    anchors.margins: 8
                    clip: true
                    spacing: 4
                    model: screen.days
                    boundsBehavior: Flickable.StopAtBounds
                    ScrollBar.vertical: ScrollBar {}

                    delegate: CategoryRow {
                        required property int index
                        required name
                        required count
                        required icon
                        required selected
                        required focused

                        width: ListView.view.width
                        action: () => screen.selectDay(index)
                    }
                }
            }

            ColumnPanel {
                Layout.fillWidth: true
                Layout.fillHeight: true

                LoadingView {
                    anchors.fill: parent
                    visible: !screen.guideLoaded
                    text: Localized.text("loading_short")
                }

                ColumnLayout {
                    anchors.fill: parent
                    spacing: 0
                    visible: screen.guideLoaded

                    UiText {
                        Layout.fillWidth: true
                        Layout.leftMargin: 16
                        Layout.rightMargin: 16
                        Layout.topMargin: 12
                        visible: screen.noGuide
                        text: Localized.text("catchup_no_guide")
                        color: Theme.textDim
                        font.pointSize: Theme.pointSize(12.5)
                    }

                    ListView {
                        id: programmeList
                        objectName: "programmeList"
                        Layout.fillWidth: true
                        Layout.fillHeight: true
                        Layout.margins: 8
                        clip: true
                        spacing: 6
                        model: screen.programmes
                        boundsBehavior: Flickable.StopAtBounds
                        ScrollBar.vertical: ScrollBar {}

                        delegate: ProgrammeRow {
                            required property var modelData
                            required property int index

                            width: ListView.view.width
                            programme: modelData
                            focused: screen.pane === 1 && screen.focus === index
                            action: () => screen.play(index)
                        }
                    }
                }
            }
        }
    }

    Connections {
        target: screen
        function onProgrammeScrollRequested(row) { programmeList.positionViewAtIndex(row, ListView.Center) }
    }
}
