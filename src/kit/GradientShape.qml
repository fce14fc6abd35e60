import QtQuick
import Zelfor.Kit

// A rounded rectangle, or only its inner border when `borderWidth` is above 0,
// painted with an accent gradient; in its first colour where the renderer has no
// shader effects.
Item {
    id: root

    property real radius: 0
    property real borderWidth: 0
    property color from: Theme.violet
    property color to: Theme.cyan
    property bool diagonal: false

    readonly property bool plain: GraphicsInfo.api === GraphicsInfo.Software

    Rectangle {
        id: mask
        anchors.fill: parent
        visible: root.plain
        radius: root.radius
        color: root.borderWidth > 0 ? "transparent" : (root.plain ? root.from : "white")
        border.width: root.borderWidth
        border.color: root.plain ? root.from : "white"
    }

    AccentGradient {
        anchors.fill: parent
        visible: !root.plain
        source: mask
        from: root.from
        to: root.to
        diagonal: root.diagonal
    }
}
