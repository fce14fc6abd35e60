import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Live

// Under the preview player: the key hint, or the previewed channel with its short guide.
Flickable {
    id: info

    required property LiveScreenModel screen

    clip: true
    contentHeight: content.implicitHeight + 32
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    ColumnLayout {
        id: content
        x: 16
        y: 16
        width: info.width - 32
        spacing: 12

        UiText {
            Layout.fillWidth: true
            visible: !info.screen.hasPreview
            text: Localized.text("hint_keys")
            color: Theme.textDim
            font.pointSize: Theme.pointSize(12.5)
            wrapMode: Text.WordWrap
        }

        RowLayout {
            Layout.fillWidth: true
            visible: info.screen.hasPreview
            spacing: 12

            Rectangle {
                Layout.preferredWidth: 54 + 6
                Layout.preferredHeight: 36 + 6
                radius: 8
                color: Theme.raised
                clip: true

                RemoteImage {
                    anchors.fill: parent
                    anchors.margins: 3
                    url: info.screen.previewLogo
                    title: info.screen.previewName
                    fill: false
                    fontSize: 12
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2

                UiText {
                    objectName: "previewName"
                    Layout.fillWidth: true
                    clip: true
                    text: ProviderText.line(info.screen.previewName)
                    textFormat: Text.PlainText
                    color: "white"
                    font.pixelSize: 16
                    font.weight: Font.DemiBold
                    wrapMode: Text.WordWrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }

                UiText {
                    visible: info.screen.previewNumber !== ""
                    text: info.screen.previewNumber
                    color: Theme.textDim
                    font.pointSize: Theme.pointSize(11.5)
                }
            }

            Chip {
                visible: info.screen.previewArchive !== ""
                text: info.screen.previewArchive
                color: Theme.cyan
                icon: "clock.arrow.circlepath"
            }
        }

        ProgressBar {
            Layout.fillWidth: true
            visible: info.screen.hasPreview && info.screen.guide.loading
            indeterminate: true
            palette.dark: Theme.cyan
            palette.highlight: Theme.cyan
        }

        UiText {
            objectName: "noGuide"
            Layout.fillWidth: true
            visible: info.screen.hasPreview && !info.screen.guide.loading && info.screen.guide.rows.length === 0
            text: Localized.text("no_epg")
            color: Theme.textDim
            font.pointSize: Theme.pointSize(12.5)
            wrapMode: Text.WordWrap
        }

        EpgList {
            objectName: "epgList"
            Layout.fillWidth: true
            visible: info.screen.hasPreview && info.screen.guide.rows.length > 0
            rows: info.screen.guide.rows
        }

        UiText {
            Layout.fillWidth: true
            visible: info.screen.hasPreview
            text: Localized.text("fullscreen_hint")
            color: Theme.withOpacity(Theme.textDim, 0.8)
            font.pointSize: Theme.pointSize(11.5)
            wrapMode: Text.WordWrap
        }
    }
}
