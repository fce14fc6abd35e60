import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Vod

// The movie or series browser: header row, then the category pane beside the poster grid.
Item {
    id: root

    required property BrowseScreenModel screen

    Item {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        visible: screen.hasPlaylist

        RowLayout {
            id: header
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            spacing: 14

            BackButton {
                objectName: "backButton"
                action: () => screen.back()
            }

            Column {
                Layout.preferredWidth: 214
                spacing: 2

                UiText {
                    width: parent.width
                    text: screen.title
                    color: "white"
                    font.family: Theme.roundedFontFamily
                    font.pixelSize: 24
                    font.weight: Font.Bold
                    elide: Text.ElideRight
                }

                UiText {
                    width: parent.width
                    text: screen.playlistName
                    color: Theme.textDim
                    font.pixelSize: 13
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }
            }

            Column {
                Layout.fillWidth: true
                Layout.minimumWidth: 10
                spacing: 2

                UiText {
                    objectName: "categoryName"
                    width: parent.width
                    text: screen.categoryName
                    color: "white"
                    font.pixelSize: 17
                    font.weight: Font.DemiBold
                    maximumLineCount: 1
                    elide: Text.ElideRight
                }

                UiText {
                    objectName: "countText"
                    width: parent.width
                    text: screen.countText
                    color: Theme.textDim
                    font.pointSize: Theme.pointSize(12.5)
                }
            }

            FilterField {
                objectName: "filterField"
                Layout.preferredWidth: 220
                text: screen.filter
                placeholder: Localized.text("filter_hint")
                onEdited: (text) => screen.filter = text
            }

            CircleButton {
                objectName: "sortButton"
                icon: "arrow.up.arrow.down"
                size: 42
                help: Localized.text("sort")
                tint: screen.sort !== 0 ? Theme.cyan : "white"
                action: () => screen.showSortDialog()
            }

            CircleButton {
                icon: "magnifyingglass"
                size: 42
                help: Localized.text("search")
                action: () => screen.openSearch()
            }

            CircleButton {
                objectName: "refreshButton"
                icon: "arrow.clockwise"
                size: 42
                help: Localized.text("refresh")
                action: () => screen.requestReload()
            }
        }

        Item {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: header.bottom
            anchors.topMargin: 14
            anchors.bottom: parent.bottom

            LoadingView {
                anchors.fill: parent
                visible: screen.state === BrowseScreenModel.Loading
                text: Localized.text("loading_playlist")
            }

            MessageView {
                objectName: "errorView"
                anchors.fill: parent
                visible: screen.state === BrowseScreenModel.Failed
                icon: "exclamationmark.triangle"
                text: screen.error
                color: Theme.red
                actionTitle: Localized.text("retry")
                action: () => screen.requestReload()
            }

            RowLayout {
                anchors.fill: parent
                visible: screen.state === BrowseScreenModel.Loaded
                spacing: 16

                PanelBox {
                    Layout.preferredWidth: 270
                    Layout.fillHeight: true

                    ListView {
                        id: categoryList
                        objectName: "categoryList"
                        anchors.fill: parent
                        anchors.margins: 8
                        clip: true
                        spacing: 4
                        model: screen.categories
                        boundsBehavior: Flickable.StopAtBounds

                        delegate: CategoryRow {
                            required property int index
                            required name
                            required count
                            required icon
                            required selected
                            required focused

                            width: ListView.view.width
                            action: () => screen.selectCategory(index)
                        }
                    }
                }

                PanelBox {
                    id: gridPane
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    onWidthChanged: screen.setGridWidth(width)
                    Component.onCompleted: screen.setGridWidth(width)

                    PosterGrid {
                        id: grid
                        anchors.fill: parent
                        visible: screen.posters.count > 0
                        screen: root.screen
                    }

                    MessageView {
                        anchors.fill: parent
                        visible: screen.posters.count === 0
                        icon: screen.emptyIcon
                        text: screen.emptyText
                        color: Theme.textDim
                    }
                }
            }
        }
    }

    Connections {
        target: screen
        function onScrollToPoster(row) { grid.scrollTo(row) }
        function onScrollToCategory(index) { categoryList.positionViewAtIndex(index, ListView.Center) }
    }

    component PanelBox: Rectangle {
        radius: 20
        color: Theme.surfaceDim
        border.width: 1
        border.color: Theme.stroke
    }
}
