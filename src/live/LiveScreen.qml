import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Live

// The live TV screen: header, category column, channel list and preview pane.
Item {
    id: root

    required property LiveScreenModel screen

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        spacing: 14
        visible: screen.hasPlaylist

        LiveHeader {
            Layout.fillWidth: true
            screen: root.screen
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            RowLayout {
                anchors.fill: parent
                spacing: 16
                visible: screen.loaded

                CategoryColumn {
                    objectName: "categoryColumn"
                    Layout.preferredWidth: 270
                    Layout.fillHeight: true
                    screen: root.screen
                }

                ChannelColumn {
                    objectName: "channelColumn"
                    Layout.minimumWidth: 320
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    screen: root.screen
                }

                LivePreviewPane {
                    objectName: "previewPane"
                    Layout.preferredWidth: kWidth
                    Layout.fillWidth: false
                    Layout.fillHeight: true
                    screen: root.screen
                }
            }

            MessageView {
                anchors.fill: parent
                visible: !screen.loaded && screen.error !== ""
                icon: "exclamationmark.triangle"
                text: screen.error
                color: Theme.red
                actionTitle: Localized.text("retry")
                action: () => screen.requestReload()
            }

            LoadingView {
                anchors.fill: parent
                visible: !screen.loaded && screen.error === ""
                text: Localized.text("loading_playlist")
            }
        }
    }
}
