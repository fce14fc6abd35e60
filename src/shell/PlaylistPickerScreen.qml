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
            scroller.reveal(cards.itemAt(screen.focus))
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
            font.pixelSize: 30
            font.weight: Font.Bold
        }

        TileScroller {
            id: scroller
            objectName: "playlistScroller"
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentHeight: grid.implicitHeight + 20
            margin: 10
            ScrollBar.vertical: ScrollBar {
                objectName: "playlistScrollBar"
                // Shown for as long as there is more to see, not only while scrolling.
                policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
            }

            // Adaptive columns: as many 280-wide ones as fit, widened up to 360.
            readonly property real available: width - 20
            readonly property int columns: Math.max(1, Math.floor((available + 18) / (280 + 18)))
            readonly property real cellWidth: Math.min(360, (available - 18 * (columns - 1)) / columns)

            Grid {
                id: grid
                x: 10
                y: 10
                width: scroller.available
                columns: scroller.columns
                columnSpacing: 18
                rowSpacing: 18

                // Layout settles after the cards or the width change: the focused card stays in view.
                onPositioningComplete: scroller.reveal(cards.itemAt(screen.focus))

                Repeater {
                    id: cards
                    model: screen.cards

                    PlaylistCard {
                        objectName: "playlistCard"
                        required property var modelData
                        required property int index

                        width: scroller.cellWidth
                        title: modelData.title
                        subtitle: modelData.subtitle
                        saved: modelData.saved
                        focused: index === screen.focus
                        action: () => screen.select(modelData.id)
                    }
                }
            }
        }
    }
}
