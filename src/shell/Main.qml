import QtQuick
import QtQuick.Window
import Zelfor.App

// The one window. Its content is built anew on every language change, with the route
// stack kept.
Window {
    id: window

    width: 1360
    height: 840
    minimumWidth: 1080
    minimumHeight: 680
    visible: true
    title: "Zelfor"
    color: Qt.rgba(0.043, 0.059, 0.102, 1)

    Repeater {
        model: [AppState.langTick]

        RootView {
            width: window.width
            height: window.height
        }
    }

    Shortcut {
        sequences: [StandardKey.Quit]
        context: Qt.ApplicationShortcut
        onActivated: Qt.quit()
    }

    Component.onCompleted: AppState.observeWindow(window)
}
