import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Live

// The live TV screen: header, category column, channel list and preview pane.
Item {
    id: root

    property bool isTop: true
    property string entryId

    LiveScreenModel {
        id: screen
        active: root.isTop
    }

    Component.onCompleted: screen.appeared()

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
            screen: screen
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
                    screen: screen
                }

                ChannelColumn {
                    objectName: "channelColumn"
                    Layout.minimumWidth: 320
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    screen: screen
                }

                LivePreviewPane {
                    objectName: "previewPane"
                    Layout.preferredWidth: kWidth
                    Layout.fillWidth: false
                    Layout.fillHeight: true
                    screen: screen
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
