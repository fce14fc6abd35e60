import QtQuick
import Zelfor.App
import Zelfor.Shell

// One route entry's screen, made from the route table when the entry enters the stack and
// kept while it stays; shown, clickable and taking keys only while it is the top entry.
// The stack view animates `opacity` and `enter` as entries come and sets `leaving` as
// they go; a screen covered by another is hidden at once, never drawn see-through.
// Layers are one pixel high (the view runs no transition for an empty delegate), each
// frame drawn from the top of the view. The layer tells its view-model what it shows; the
// screen's life follows from that alone.
Item {
    id: layer
    objectName: "screenLayer"

    required property int index
    required property string entryId
    required property bool isTop

    property real screenHeight
    property real enter: 1
    property bool leaving: false
    readonly property bool shown: isTop && !leaving
    // A screen made ahead comes with its view already made.
    property Item madeView: null
    readonly property Item screen: madeView ?? loader.item
    // The entry's view-model, made by the route table with the entry's payload.
    property QtObject model: null

    // A leaving layer has no index any more; it stays above the rest while it fades out.
    z: leaving ? ListView.view.count + 1 : index
    height: 1

    Item {
        id: frame
        y: -layer.y
        width: layer.width
        height: layer.screenHeight
        scale: 0.985 + 0.015 * layer.enter
        opacity: layer.isTop ? 1 : 0
        visible: opacity > 0
        enabled: layer.shown
        Accessible.ignored: !layer.shown

        Loader {
            id: loader
            anchors.fill: parent
            onLoaded: layer.report()
        }
    }

    function report() {
        if (layer.model)
            layer.model.layerChanged(layer.screen !== null, layer.shown)
    }

    onShownChanged: report()
    onModelChanged: report()

    Connections {
        target: AppState
        function onStackChanged() { layer.report() }
    }

    Component.onCompleted: {
        const made = ScreenTable.make(layer.entryId, layer)
        if (!made.model)
            return
        if (made.item) {
            made.item.parent = frame
            made.item.anchors.fill = frame
            layer.madeView = made.item
        } else {
            loader.setSource(made.view, { screen: made.model })
        }
        layer.model = made.model
    }
}
