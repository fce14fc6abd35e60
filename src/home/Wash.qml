import QtQuick
import Zelfor.Kit

// A gradient wash from `from` to `to`, left to right or diagonally; without shader effects
// a flat tint of the first colour stands in.
Item {
    id: root

    property color from
    property color to: "transparent"
    property bool diagonal: true

    readonly property bool plain: GraphicsInfo.api === GraphicsInfo.Software

    AccentGradient {
        anchors.fill: parent
        visible: !root.plain
        from: root.from
        to: root.to
        diagonal: root.diagonal
    }

    Rectangle {
        anchors.fill: parent
        visible: root.plain
        color: root.from
        opacity: 0.6
    }
}
