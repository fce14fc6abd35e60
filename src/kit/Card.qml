import QtQuick
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// The clickable, focusable tile. Its content children fill it and may bind to `active`
// to restyle themselves with the frame. With `clipContent` the content is clipped to the
// rounded shape: through a layer drawn at the grown size, so a card grown by `hoverScale`
// stays sharp, or, under the software renderer, which has no shader effects, by putting
// back what lay outside the shape; a card whose content rounds its own corners turns it
// off. The glows are made only while shown.
Item {
    id: root

    enum FillGradient { NoGradient, Accent, AccentDiagonal }

    property bool focused: false
    property real radius: 16
    property color fill: Theme.surface
    // Card.Accent or Card.AccentDiagonal paints that gradient instead of `fill`.
    property int fillGradient: Card.NoGradient
    property real hoverScale: 1
    // Read once, when the card is made.
    property bool clipContent: true
    property var action: null
    property var doubleAction: null
    default property alias content: body.data
    // Drawn over the content outside its clipping layer, so what changes often there (a
    // pulsing badge) does not draw the whole layer again; keep it inside the rounded shape.
    property alias overlay: overlayItem.data

    readonly property bool hover: pointer.hovered
    readonly property bool active: focused || hover
    readonly property real sheenOpacity: hover && !focused ? 0.035 : 0
    readonly property real darkShadowOpacity: hover && !focused ? 0.35 : 0
    // The resting border's white: 0.16 while hovered, else 0.07; settles with the rest.
    property real hairlineOpacity: hover ? 0.16 : 0.07
    Behavior on hairlineOpacity { Spring {} }

    scale: active ? hoverScale : 1
    Behavior on scale { Spring {} }
    onActiveChanged: if (active) glow.active = true

    // The layer is made only for a card that clips, so the others cost nothing for it.
    Component.onCompleted: {
        if (!clipContent)
            return
        frame.layer.effect = clipMask
        frame.layer.smooth = true
        frame.layer.textureSize = Qt.binding(() => Qt.size(frame.width * root.hoverScale * Screen.devicePixelRatio,
                                                           frame.height * root.hoverScale * Screen.devicePixelRatio))
        frame.layer.enabled = Qt.binding(() => GraphicsInfo.api !== GraphicsInfo.Software)
    }

    Component {
        id: clipMask
        OpacityMask { maskSource: clipShape }
    }

    // Made when the card becomes active and then kept (the handler above ends the
    // binding), so its glows fade out.
    Loader {
        id: glow
        anchors.fill: parent
        active: root.active
        sourceComponent: CardGlow {
            radius: root.radius
            violetOpacity: root.focused ? 0.45 : 0
            darkOpacity: root.darkShadowOpacity
            focusWidth: focusFrame.focusWidth
        }
    }

    Rectangle {
        id: clipShape
        anchors.fill: parent
        radius: root.radius
        visible: false
    }

    Item {
        id: frame
        anchors.fill: parent
        clip: root.clipContent
        // The software renderer skips what lies under opaque items, and the corners need it
        // drawn before the content; just under 1, this opacity still paints every pixel whole.
        opacity: root.clipContent && GraphicsInfo.api === GraphicsInfo.Software ? 0.999 : 1

        CornerKeeper {
            id: keptCorners
            anchors.fill: parent
            visible: root.clipContent
            radius: root.radius
        }

        Rectangle {
            anchors.fill: parent
            radius: root.radius
            visible: root.fillGradient === Card.NoGradient
            color: root.fill
        }

        Loader {
            anchors.fill: parent
            active: root.fillGradient !== Card.NoGradient
            sourceComponent: GradientShape {
                radius: root.radius
                diagonal: root.fillGradient === Card.AccentDiagonal
            }
        }

        TapArea {
            id: pointer
            anchors.fill: parent
            action: root.action
            doubleAction: root.doubleAction
        }

        Item {
            id: body
            anchors.fill: parent
        }

        Rectangle {
            anchors.fill: parent
            radius: root.radius
            color: "white"
            opacity: root.sheenOpacity
            visible: opacity > 0
            Behavior on opacity { Spring {} }
        }

        CornerKeeper {
            anchors.fill: parent
            visible: root.clipContent
            radius: root.radius
            from: keptCorners
        }
    }

    Item {
        id: overlayItem
        anchors.fill: parent
    }

    FocusFrame {
        id: focusFrame
        anchors.fill: parent
        radius: root.radius
        focusWidth: 2.5
        amount: root.focused ? 1 : 0
        hairline: Qt.rgba(1, 1, 1, root.hairlineOpacity)
        Behavior on amount { Spring {} }
    }
}
