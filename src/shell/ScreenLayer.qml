import QtQuick
import Zelfor.Shell

// One route entry's screen, made from the route table when the entry enters the stack and
// kept while it stays; shown, clickable and taking keys only while it is the top entry.
// The stack view animates `opacity` and `enter` as entries come and sets `leaving` as
// they go.
Item {
    id: layer
    objectName: "screenLayer"

    required property int index
    required property string entryId
    required property string name
    required property bool isTop

    property real screenHeight
    property real enter: 1
    property bool leaving: false
    readonly property bool shown: isTop && !leaving
    readonly property Item screen: loader.item
    // The entry's view-model, made by the route table with the entry's payload.
    property QtObject model: null

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
        target: layer.model
        property: "active"
        value: layer.shown
        when: layer.model !== null
    }

    Component.onCompleted: {
        const made = ScreenTable.make(layer.entryId, layer)
        if (!made.model)
            return
        loader.setSource(made.view, { screen: made.model })
        layer.model = made.model
    }
}
