import QtQuick
import Zelfor.Home
import Zelfor.Kit

// The continue-watching row: every recent card in one scrolling row that keeps the focused
// card in the middle.
Column {
    id: root

    required property HomeScreenModel screen

    spacing: 10

    SectionLabel {
        width: root.width
        text: Localized.text("continue_watching")
    }

    Flickable {
        id: strip
        width: root.width
        height: 150
        contentWidth: cards.width + 8
        contentHeight: height
        flickableDirection: Flickable.HorizontalFlick
        clip: true

        Behavior on contentX { NumberAnimation { duration: 250; easing.type: Easing.InOutQuad } }

        // Cards start at the leading edge, the right one in a right-to-left interface.
        Row {
            id: cards
            x: LayoutMirroring.enabled ? Math.max(4, strip.width - width - 4) : 4
            y: 8
            spacing: 14

            Repeater {
                id: cardRepeater
                model: root.screen.recents

                RecentCard {
                    required property int index

                    focused: root.screen.focusedCard === index
                    action: () => root.screen.playRecent(index)
                    dismissAction: () => root.screen.dismissRecent(index)
                }
            }
        }

        Component.onCompleted: contentX = LayoutMirroring.enabled ? Math.max(0, contentWidth - width) : 0

        function centreOn(index) {
            const card = cardRepeater.itemAt(index)
            if (!card)
                return
            const target = cards.x + card.x + card.width / 2 - width / 2
            contentX = Math.max(0, Math.min(target, contentWidth - width))
        }
    }

    Connections {
        target: root.screen
        function onFocusChanged() {
            if (root.screen.focusedCard >= 0)
                strip.centreOn(root.screen.focusedCard)
        }
    }
}
