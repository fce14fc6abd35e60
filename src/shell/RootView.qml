import QtQuick
import Zelfor.App
import Zelfor.Kit
import Zelfor.Shell

// Everything in the window: one screen per route entry with only the top one shown, the
// toast and the choice dialog above them, laid out for the active language.
Item {
    id: root

    property string toastText: AppState.toast
    readonly property ListView screens: screenStack

    LayoutMirroring.enabled: Localized.rightToLeft()
    LayoutMirroring.childrenInherit: true

    AppBackground {
        anchors.fill: parent
    }

    ListView {
        id: screenStack
        anchors.fill: parent
        interactive: false
        keyNavigationEnabled: false
        currentIndex: -1
        highlightFollowsCurrentItem: false
        model: AppState.stack

        delegate: ScreenLayer {
            width: screenStack.width
            screenHeight: screenStack.height
        }

        add: Transition {
            NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 200; easing.type: Easing.InOutQuad }
            NumberAnimation { property: "enter"; from: 0; to: 1; duration: 200; easing.type: Easing.InOutQuad }
        }
        remove: Transition {
            SequentialAnimation {
                PropertyAction { property: "leaving"; value: true }
                NumberAnimation { property: "opacity"; to: 0; duration: 200; easing.type: Easing.InOutQuad }
            }
        }
    }

    Connections {
        target: AppState
        function onToastChanged() {
            if (AppState.toastVisible)
                root.toastText = AppState.toast
        }
    }

    // Clicks pass through the toast to the screen beneath.
    Item {
        anchors.fill: parent
        enabled: false

        ToastView {
            objectName: "toast"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 34
            text: root.toastText
            opacity: AppState.toastVisible ? 1 : 0
            visible: opacity > 0
            transform: Translate {
                y: AppState.toastVisible ? 0 : 60
                Behavior on y { Spring { response: 0.3 } }
            }
            Behavior on opacity { NumberAnimation { duration: 250; easing.type: Easing.OutQuad } }
        }
    }

    // A closed dialog keeps its look while it fades out.
    property ChoiceDialogModel shownDialog: AppState.dialog

    Connections {
        target: AppState
        function onDialogChanged() {
            if (AppState.dialog)
                root.shownDialog = AppState.dialog
        }
    }

    // Made when the first dialog opens, so that the window's first frame does not wait for
    // the dialog's parts.
    Loader {
        objectName: "dialog"
        anchors.fill: parent
        active: root.shownDialog !== null
        enabled: AppState.dialog !== null
        opacity: enabled ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 180; easing.type: Easing.InOutQuad } }
        Component.onCompleted: setSource("qrc:/Zelfor/Kit/ChoiceDialogView.qml",
                                         { model: Qt.binding(() => root.shownDialog),
                                           open: Qt.binding(() => AppState.dialog !== null) })
    }

    // The screen made ahead of its entry: out of sight, shown only for the frames that draw
    // it once.
    Item {
        id: aheadArea
        objectName: "screenAhead"
        x: root.width
        width: root.width
        height: root.height
        visible: false
        enabled: false
        Accessible.ignored: true
        Component.onCompleted: ScreenTable.setAheadArea(aheadArea)
    }
}
