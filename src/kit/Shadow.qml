import QtQuick
import Zelfor.Kit

// A soft shadow under `target`, a rounded rectangle of corner radius `shapeRadius`,
// blurred by `blur` and moved down by `offsetY`; it shows only outside the target's shape.
// Place it before the target among the same siblings.
ShadowPatch {
    property Item target

    x: (target ? target.x : 0) - reach
    y: (target ? target.y : 0) + offsetY - reach
    width: (target ? target.width : 0) + 2 * reach
    height: (target ? target.height : 0) + 2 * reach
}
