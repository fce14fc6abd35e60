import QtQuick
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// The clickable, focusable tile. Its content children fill it and may bind to
// `active` to restyle themselves with the frame.
Item {
    id: root

    property bool focused: false
    property real radius: 16
    property color fill: Theme.surface
    // "accent" or "accentDiagonal" paints that gradient instead of `fill`.
    property string fillGradient: ""
    property real hoverScale: 1
    property var action: null
    property var doubleAction: null
    default property alias content: body.data

    readonly property bool hover: hoverHandler.hovered
    readonly property bool active: focused || hover
    readonly property real sheenOpacity: hover && !focused ? 0.035 : 0
    readonly property real restingBorderOpacity: hover ? 0.16 : 0.07
    readonly property real darkShadowOpacity: hover && !focused ? 0.35 : 0

    scale: active ? hoverScale : 1
    Behavior on scale { Spring {} }

    Shadow {
        target: frame
        color: Theme.violet
        blur: 16
        offsetY: 4
        shapeRadius: root.radius
        opacity: root.focused ? 0.45 : 0
        visible: opacity > 0
        Behavior on opacity { Spring {} }
    }

    Shadow {
        target: frame
        color: "black"
        blur: 10
        offsetY: 6
        shapeRadius: root.radius
        opacity: root.darkShadowOpacity
        visible: opacity > 0
        Behavior on opacity { Spring {} }
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
        // Without shader effects the content stays unclipped rather than unseen.
        layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
        layer.smooth: true
        layer.effect: OpacityMask { maskSource: clipShape }

        Rectangle {
            anchors.fill: parent
            visible: root.fillGradient === ""
            color: root.fill
        }

        AccentGradient {
            anchors.fill: parent
            visible: root.fillGradient !== ""
            diagonal: root.fillGradient === "accentDiagonal"
        }

        // Takes every click, so one never falls through to what lies beneath.
        MouseArea {
            anchors.fill: parent
            onClicked: tapRule.click()
        }

        Item {
            id: body
            anchors.fill: parent
        }

        Rectangle {
            anchors.fill: parent
            color: "white"
            opacity: root.sheenOpacity
            Behavior on opacity { Spring {} }
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, root.restingBorderOpacity)
        opacity: root.focused ? 0 : 1
    }

    GradientShape {
        anchors.fill: parent
        radius: root.radius
        borderWidth: 2.5
        opacity: root.focused ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { Spring {} }
    }

    HoverHandler {
        id: hoverHandler
    }

    TapRule {
        id: tapRule
        doubleEnabled: !!root.doubleAction
        onSingleTap: if (root.action) root.action()
        onDoubleTap: if (root.doubleAction) root.doubleAction()
    }
}
