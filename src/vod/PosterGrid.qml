import QtQuick
import QtQuick.Controls
import Zelfor.Kit
import Zelfor.Vod

// The browse screen's grid of posters; only the visible posters exist. A right click on
// a poster offers to add it to the favourites or to remove it.
GridView {
    id: grid

    required property BrowseScreenModel screen

    readonly property real spacing: GridMetrics.tileSpacing
    property int menuRow: -1
    property bool menuFavorite: false

    leftMargin: GridMetrics.posterInset
    rightMargin: GridMetrics.posterInset - spacing
    topMargin: GridMetrics.posterInset
    bottomMargin: GridMetrics.posterInset - spacing
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    cellWidth: (width - 2 * GridMetrics.posterInset + spacing) / screen.columns
    cellHeight: (cellWidth - spacing) * 3 / 2 + spacing
    model: screen.posters

    // Brings a poster to the middle, with a short ease-out.
    function scrollTo(row) { scroll.centre(row) }

    CentringScroll {
        id: scroll
        target: grid
        duration: 150
        easing.type: Easing.OutQuad
    }

    delegate: Item {
        id: cell

        required property int index
        required property string name
        required property string logo
        required property string ratingBadge
        required property bool favorite
        required property bool focused

        width: grid.cellWidth
        height: grid.cellHeight

        PosterCard {
            objectName: "poster"
            width: grid.cellWidth - grid.spacing
            height: width * 3 / 2
            name: cell.name
            logo: cell.logo
            ratingBadge: cell.ratingBadge
            favorite: cell.favorite
            focused: cell.focused
            action: () => grid.screen.open(cell.index)

            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.RightButton
                onClicked: {
                    grid.menuRow = cell.index
                    grid.menuFavorite = cell.favorite
                    menu.popup()
                }
            }
        }
    }

    AppMenu {
        id: menu
        objectName: "posterMenu"

        AppMenuItem {
            objectName: "favoriteMenuItem"
            text: Localized.text(grid.menuFavorite ? "remove_favorite" : "add_favorite")
            onTriggered: grid.screen.toggleFavoriteAt(grid.menuRow)
        }
    }
}
