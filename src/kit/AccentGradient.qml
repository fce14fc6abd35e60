import QtQuick
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// Paints the opaque pixels of `source` (the whole area without one) with a
// two-colour gradient from the left edge to the right, or diagonally from the
// top-left corner to the bottom-right one.
LinearGradient {
    id: root

    property color from: Theme.violet
    property color to: Theme.cyan
    property bool diagonal: false

    start: Qt.point(0, 0)
    end: Qt.point(width, diagonal ? height : 0)
    gradient: Gradient {
        GradientStop { position: 0; color: root.from }
        GradientStop { position: 1; color: root.to }
    }
}
