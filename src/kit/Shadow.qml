import QtQuick
import Qt5Compat.GraphicalEffects

// A soft shadow under `target`, a rounded rectangle of corner radius
// `shapeRadius`, blurred by `blur` and moved down by `offsetY`. Place it before
// the target among the same siblings.
RectangularGlow {
    property Item target
    property real blur: 10
    property real offsetY: 0
    property real shapeRadius: 0

    x: target ? target.x : 0
    y: (target ? target.y : 0) + offsetY
    width: target ? target.width : 0
    height: target ? target.height : 0
    glowRadius: blur
    spread: 0
    cornerRadius: shapeRadius + blur
}
