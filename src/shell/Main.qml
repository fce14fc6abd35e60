import QtQuick
import Zelfor.App
import Zelfor.Shell

// The one window. Its content is built anew on every language change, with the route
// stack kept.
Window {
    id: window

    width: WindowSize.initial.width
    height: WindowSize.initial.height
    minimumWidth: WindowSize.minimum.width
    minimumHeight: WindowSize.minimum.height
    visible: true
    title: "Zelfor"
    color: Qt.rgba(0.043, 0.059, 0.102, 1)

    // The first frame shows the window's colour alone; the views come once it is out.
    Repeater {
        model: FirstFrame.viewsShown ? [AppState.langTick] : []

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

    Component.onCompleted: {
        AppState.observeWindow(window)
        WindowSize.keepOnScreen(window)
    }
}
