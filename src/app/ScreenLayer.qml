import QtQuick
import Zelfor.App

// One route entry's screen, made when the entry enters the stack and kept while it stays,
// shown and clickable only while it is the top entry. The stack view animates `opacity`
// and `enter` as entries come and sets `leaving` as they go.
Item {
    id: layer

    required property int index
    required property string entryId
    required property string name
    required property bool isTop

    property real screenHeight
    property real enter: 1
    property bool leaving: false
    readonly property bool shown: isTop && !leaving
    readonly property Item screen: loader.item

    // Screens made over the shared state alone; every other route's screen is built from
    // its entry, and the placeholder stands in for those not part of this program.
    readonly property var sharedStateScreens: ({
        splash: "SplashScreen.qml",
        activation: "ActivationScreen.qml",
        playlistPicker: "PlaylistPickerScreen.qml"
    })

    z: index
    height: 0

    Item {
        id: frame
        width: layer.width
        height: layer.screenHeight
        scale: 0.985 + 0.015 * layer.enter
        opacity: layer.isTop ? 1 : 0
        visible: opacity > 0
        enabled: layer.shown
        Accessible.ignored: !layer.shown
        Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }

        Loader {
            id: loader
            anchors.fill: parent
        }
    }

    Binding {
        target: loader.item
        property: "isTop"
        value: layer.shown
        when: loader.item !== null
    }

    Component.onCompleted: {
        const file = sharedStateScreens[name]
        if (file) {
            loader.setSource(Qt.resolvedUrl(file), { isTop: layer.shown })
            return
        }
        const view = AppState.screenView(name).toString()
        loader.setSource(view !== "" ? view : Qt.resolvedUrl("PlaceholderScreen.qml"),
                         { isTop: layer.shown, entryId: layer.entryId })
    }
}
