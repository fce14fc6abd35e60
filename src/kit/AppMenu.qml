import QtQuick
import QtQuick.Controls
import Zelfor.Kit

// A context menu in the app's look, over any tooltip. Its entries are AppMenuItems. While
// open it takes every key: Esc closes it, Up and Down move the highlight over the shown
// entries, Enter chooses.
Menu {
    id: menu

    readonly property MenuKeys keys: MenuKeys {
        active: menu.opened
        entries: {
            const shown = []
            for (let i = 0; i < menu.count; ++i)
                shown.push(menu.itemAt(i).visible)
            return shown
        }
        onCloseRequested: menu.close()
        onChosen: entry => {
            const item = menu.itemAt(entry)
            menu.close()
            item.triggered()
        }
    }

    // Over any tooltip.
    z: 10
    padding: 6
    currentIndex: keys.current
    onCurrentIndexChanged: keys.current = currentIndex

    background: Rectangle {
        implicitWidth: 220
        radius: 12
        color: Theme.surface

        Hairline {
            radius: parent.radius
            border.color: Qt.rgba(1, 1, 1, 0.1)
        }
    }
}
