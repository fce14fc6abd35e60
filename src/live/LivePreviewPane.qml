import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Live
import Zelfor.Playback

// The preview column: the 16:9 player, the channel's information and short guide, and
// the action tiles.
ColumnLayout {
    id: pane

    required property LiveScreenModel screen
    readonly property real kWidth: 440

    spacing: 14

    Item {
        objectName: "playerBox"
        Layout.fillWidth: true
        Layout.preferredHeight: pane.kWidth * 9 / 16
        Layout.fillHeight: false

        Shadow {
            target: playerFrame
            color: "black"
            opacity: 0.4
            blur: 16
            offsetY: 8
            shapeRadius: 18
        }

        Rectangle {
            id: playerFrame
            anchors.fill: parent
            radius: 18
            color: "black"
            clip: true

            GradientShape {
                anchors.fill: parent
                radius: 18
                visible: !pane.screen.hasPreview
                diagonal: true
                colors: [Theme.withOpacity(Theme.violet, 0.35), Theme.withOpacity(Theme.cyan, 0.18)]
            }

            Column {
                anchors.centerIn: parent
                spacing: 10
                visible: !pane.screen.hasPreview

                BrandMark {
                    anchors.horizontalCenter: parent.horizontalCenter
                    size: 46
                }

                UiText {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: Localized.text("preview_hint")
                    color: Theme.text
                    font.pixelSize: 13
                }
            }

            // Made with the first preview: the video outputs are slow to make, and opening
            // the screen does not wait for them.
            Loader {
                anchors.fill: parent
                anchors.margins: 1
                active: pane.screen.hasPreview
                sourceComponent: VideoSurface {
                    objectName: "previewSurface"
                    engine: pane.screen.engine
                    hostsVLC: false
                    usesVLC: false
                    aspectMode: pane.screen.aspectMode
                }
            }

            Spinner {
                anchors.centerIn: parent
                size: 34
                visible: pane.screen.hasPreview && pane.screen.engine.buffering && !pane.screen.engine.hasError
            }

            Column {
                anchors.centerIn: parent
                width: parent.width - 32
                spacing: 8
                visible: pane.screen.hasPreview && pane.screen.engine.hasError

                Icon {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: "exclamationmark.triangle.fill"
                    size: 22
                    color: Theme.amber
                }

                UiText {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: pane.screen.engine.error
                    color: "white"
                    font.pointSize: Theme.pointSize(12.5)
                    wrapMode: Text.WordWrap
                    maximumLineCount: 3
                    elide: Text.ElideRight
                }
            }

            RowLayout {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: 10
                visible: pane.screen.hasPreview

                LiveBadge {}

                Item {
                    Layout.fillWidth: true
                }

                Rectangle {
                    implicitWidth: expandIcon.implicitWidth + 14
                    implicitHeight: expandIcon.implicitHeight + 14
                    radius: 8
                    color: Qt.rgba(0, 0, 0, 0.5)

                    Icon {
                        id: expandIcon
                        anchors.centerIn: parent
                        name: "arrow.up.left.and.arrow.down.right"
                        size: 12
                        font.weight: Font.Bold
                        color: "white"
                    }
                }
            }
        }

        Rectangle {
            anchors.fill: parent
            radius: 18
            color: "transparent"
            border.width: 1
            border.color: Qt.rgba(1, 1, 1, 0.1)
        }

        MouseArea {
            anchors.fill: parent
            onClicked: pane.screen.openPreviewFullScreen()
        }
    }

    ColumnPanel {
        Layout.fillWidth: true
        Layout.fillHeight: true

        PreviewInfo {
            anchors.fill: parent
            screen: pane.screen
        }
    }

    RowLayout {
        Layout.fillWidth: true
        Layout.preferredHeight: 78
        Layout.maximumHeight: 78
        Layout.fillHeight: false
        spacing: 10

        LiveActionButton {
            objectName: "catchUpTile"
            Layout.fillWidth: true
            Layout.fillHeight: true
            icon: "clock.arrow.circlepath"
            label: Localized.text("catch_up")
            accent: Theme.cyan
            dim: !pane.screen.hasPreview || pane.screen.previewArchive === ""
            action: () => pane.screen.previewCatchUp()
        }

        LiveActionButton {
            objectName: "favoriteTile"
            Layout.fillWidth: true
            Layout.fillHeight: true
            icon: pane.screen.previewFavorite ? "heart.fill" : "heart"
            label: Localized.text(pane.screen.previewFavorite ? "remove_favorite" : "add_favorite")
            accent: Theme.rgb(244, 114, 182)
            dim: !pane.screen.hasPreview
            active: pane.screen.previewFavorite
            action: () => pane.screen.previewToggleFavorite()
        }

        LiveActionButton {
            objectName: "searchTile"
            Layout.fillWidth: true
            Layout.fillHeight: true
            icon: "magnifyingglass"
            label: Localized.text("search")
            accent: Theme.violetLight
            action: () => pane.screen.openSearch()
        }
    }
}
