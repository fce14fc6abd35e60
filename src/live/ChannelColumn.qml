import QtQuick
import QtQuick.Controls
import Zelfor.Kit
import Zelfor.Live

// The channel list of the selected category, or a message when it is empty.
ColumnPanel {
    id: column

    required property LiveScreenModel screen

    ListView {
        id: list
        objectName: "channelList"
        anchors.fill: parent
        anchors.margins: 8
        clip: true
        spacing: 6
        visible: count > 0
        model: column.screen.channels
        boundsBehavior: Flickable.StopAtBounds
        reuseItems: true
        ScrollBar.vertical: ScrollBar {}

        delegate: ChannelRow {
            id: row
            objectName: "channelRow"

            required property int index

            width: ListView.view.width
            action: () => column.screen.clickChannel(index)
            doubleAction: () => column.screen.doubleClickChannel(index)

            TapHandler {
                acceptedButtons: Qt.RightButton
                onTapped: channelMenu.openFor(row.index, row.favorite, row.catchupDays > 0)
            }
        }
    }

    MessageView {
        anchors.fill: parent
        visible: list.count === 0
        icon: column.screen.favoritesSelected ? "heart" : "tv"
        text: Localized.text(column.screen.favoritesSelected ? "no_favorites_hint" : "no_items")
        color: Theme.textDim
    }

    AppMenu {
        id: channelMenu
        objectName: "channelMenu"

        property int row: -1
        property bool favorite: false
        property bool catchup: false

        function openFor(row, favorite, catchup) {
            channelMenu.row = row
            channelMenu.favorite = favorite
            channelMenu.catchup = catchup
            popup()
        }

        AppMenuItem {
            text: Localized.text("fullscreen")
            onTriggered: column.screen.openFullScreen(channelMenu.row)
        }
        AppMenuItem {
            objectName: "favoriteItem"
            text: Localized.text(channelMenu.favorite ? "remove_favorite" : "add_favorite")
            onTriggered: column.screen.toggleFavoriteAt(channelMenu.row)
        }
        AppMenuItem {
            visible: channelMenu.catchup
            height: visible ? implicitHeight : 0
            text: Localized.text("catch_up")
            onTriggered: column.screen.openCatchUpAt(channelMenu.row)
        }
    }

    Connections {
        target: column.screen
        function onChannelScrollRequested(row) { list.positionViewAtIndex(row, ListView.Center) }
    }
}
