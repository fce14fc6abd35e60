import QtQuick
import Zelfor.Kit

// The shadows under an active card: violet while focused, dark while only hovered; each
// settles into its opacity. The violet one reaches under the outer half of the focus
// border, `focusWidth` wide, so a grown card's resampled edges leave no gap between them.
Item {
    id: root

    property real radius: 16
    property real violetOpacity: 0
    property real darkOpacity: 0
    property real focusWidth: 0

    Item {
        id: shape
        anchors.fill: parent
    }

    Shadow {
        target: shape
        color: Theme.violet
        blur: 16
        offsetY: 4
        shapeRadius: root.radius
        inset: root.focusWidth / 2
        opacity: root.violetOpacity
        visible: opacity > 0
        Behavior on opacity { Spring {} }
    }

    Shadow {
        target: shape
        color: "black"
        blur: 10
        offsetY: 6
        shapeRadius: root.radius
        opacity: root.darkOpacity
        visible: opacity > 0
        Behavior on opacity { Spring {} }
    }
}
