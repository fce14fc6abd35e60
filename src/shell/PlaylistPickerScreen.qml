import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Kit

// The playlist picker: one card per device playlist, the saved one marked.
Item {
    id: root

    required property PlaylistPickerScreenModel screen

    Connections {
        target: screen
        function onFocusChanged() {
            Qt.callLater(grid.revealFocus)
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        spacing: 26

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            BackButton {
                visible: screen.canGoBack
                action: () => screen.back()
            }
            BrandTitle {
                markSize: 34
                fontSize: 24
            }
            Item { Layout.fillWidth: true }
        }

        UiText {
            Layout.fillWidth: true
            text: Localized.text("choose_playlist")
            color: "white"
            font.family: Theme.roundedFontFamily
            font.pixelSize: 30
            font.weight: Font.Bold
        }

        // Only the cards in view (and a little around) exist.
        GridView {
            id: grid
            objectName: "playlistScroller"
            Layout.fillWidth: true
            Layout.fillHeight: true

            readonly property real margin: 10
            readonly property real spacing: 18
            readonly property real cardHeight: 180
            // Adaptive columns: as many 280-wide ones as fit, widened up to 360.
            readonly property real available: width - 2 * margin
            readonly property int columns: Math.max(1, Math.floor((available + spacing) / (280 + spacing)))
            readonly property real cardWidth: Math.min(360, (available - spacing * (columns - 1)) / columns)

            clip: true
            boundsBehavior: Flickable.StopAtBounds
            // The view fits columns of cells, each card centred with half the spacing on either
            // side, so that both layout directions place the cards alike.
            leftMargin: margin - spacing / 2
            rightMargin: margin - spacing / 2
            topMargin: margin
            bottomMargin: margin - spacing
            cellWidth: cardWidth + spacing
            cellHeight: cardHeight + spacing
            model: screen.cards

            Behavior on contentY { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }

            // Glides just far enough to show the focused card whole, with `margin` around it.
            function revealFocus() {
                if (screen.focus < 0 || screen.focus >= count)
                    return
                const top = Math.floor(screen.focus / columns) * cellHeight - margin
                const bottom = top + cardHeight + 2 * margin
                const last = Math.max(-topMargin, contentHeight + bottomMargin - height)
                if (top < contentY)
                    contentY = Math.max(-topMargin, top)
                else if (bottom > contentY + height)
                    contentY = Math.min(bottom - height, last)
            }

            // The cards, the width or the height changed: the focused card stays in view.
            onCountChanged: Qt.callLater(revealFocus)
            onColumnsChanged: Qt.callLater(revealFocus)
            onHeightChanged: Qt.callLater(revealFocus)

            ScrollBar.vertical: ScrollBar {
                objectName: "playlistScrollBar"
                // Shown for as long as there is more to see, not only while scrolling.
                policy: grid.contentHeight + grid.topMargin + grid.bottomMargin > grid.height
                        ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }

            delegate: Item {
                id: cell

                required property var modelData
                required property int index

                width: grid.cellWidth
                height: grid.cellHeight

                PlaylistCard {
                    objectName: "playlistCard"
                    anchors.horizontalCenter: parent.horizontalCenter
                    anchors.top: parent.top
                    width: grid.cardWidth
                    title: cell.modelData.title
                    subtitle: cell.modelData.subtitle
                    saved: cell.modelData.saved
                    focused: cell.index === screen.focus
                    action: () => screen.select(cell.modelData.id)
                }
            }
        }
    }
}
