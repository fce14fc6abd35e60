import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Home
import Zelfor.Kit

// The favourites screen: a tab per content type over a grid of the active playlist's favourites.
Item {
    id: root

    required property FavoritesScreenModel screen

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        spacing: 18
        visible: screen.hasPlaylist

        ScreenHeader {
            Layout.fillWidth: true
            title: Localized.text("favorites")
            subtitle: screen.playlistName
            backAction: () => screen.back()

            Repeater {
                model: screen.tabs

                TabPill {
                    required property var modelData
                    required property int index
                    objectName: "tab" + index
                    title: modelData.title
                    count: modelData.count
                    selected: index === screen.tab
                    action: () => screen.tab = index
                }
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            MessageView {
                objectName: "emptyMessage"
                anchors.fill: parent
                visible: screen.items.count === 0
                icon: "heart"
                text: Localized.text("no_favorites_hint")
                color: Theme.textDim
            }

            // Each cell holds its tile in the middle with half the spacing on either side, so
            // the grid reads the same from either edge.
            GridView {
                id: grid
                objectName: "favoritesGrid"
                anchors.fill: parent
                anchors.leftMargin: 10 - GridMetrics.tileSpacing / 2
                anchors.rightMargin: 10 - GridMetrics.tileSpacing / 2
                visible: screen.items.count > 0
                clip: true
                topMargin: 10
                bottomMargin: 10
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

                // The column count follows the pane's width, before the grid's inset.
                readonly property real available: parent.width
                readonly property bool channels: screen.tab === 0
                readonly property real cellSize: width / screen.columns - GridMetrics.tileSpacing

                onAvailableChanged: screen.measure(available)
                Component.onCompleted: screen.measure(available)

                cellWidth: cellSize + GridMetrics.tileSpacing
                cellHeight: (channels ? 150 : cellSize * 3 / 2) + GridMetrics.tileSpacing
                model: screen.items
                delegate: channels ? channelCell : posterCell

                Connections {
                    target: screen
                    function onFocusChanged() {
                        if (screen.focus >= 0 && screen.focus < grid.count)
                            grid.positionViewAtIndex(screen.focus, GridView.Contain)
                    }
                }
            }

            AppMenu {
                id: removeMenu
                objectName: "removeMenu"
                property int index: -1

                function openFor(index) {
                    removeMenu.index = index
                    popup()
                }

                AppMenuItem {
                    text: Localized.text("remove_favorite")
                    onTriggered: screen.toggleFavorite(removeMenu.index)
                }
            }

            Component {
                id: channelCell

                ChannelTile {
                    id: tile
                    required property int index
                    required focused
                    width: grid.cellSize
                    height: 150
                    transform: Translate { x: GridMetrics.tileSpacing / 2 }
                    radius: 18
                    logoHeight: 70
                    logoFontSize: 20
                    action: () => screen.open(index)

                    TapHandler {
                        acceptedButtons: Qt.RightButton
                        onTapped: removeMenu.openFor(tile.index)
                    }
                }
            }

            Component {
                id: posterCell

                PosterCard {
                    id: poster
                    required property int index
                    required focused
                    width: grid.cellSize
                    transform: Translate { x: GridMetrics.tileSpacing / 2 }
                    action: () => screen.open(index)

                    TapHandler {
                        acceptedButtons: Qt.RightButton
                        onTapped: removeMenu.openFor(poster.index)
                    }
                }
            }
        }
    }
}
