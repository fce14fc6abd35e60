import QtQuick
import Zelfor.Kit

// A rounded rectangle, or only its inner border when `borderWidth` is above 0,
// painted with an accent gradient.
Item {
    id: root

    property real radius: 0
    property real borderWidth: 0
    property color from: Theme.violet
    property color to: Theme.cyan
    property bool diagonal: false

    Rectangle {
        id: mask
        anchors.fill: parent
        visible: false
        radius: root.radius
        color: root.borderWidth > 0 ? "transparent" : "white"
        border.width: root.borderWidth
        border.color: "white"
    }

    AccentGradient {
        anchors.fill: parent
        source: mask
        from: root.from
        to: root.to
        diagonal: root.diagonal
    }
}
