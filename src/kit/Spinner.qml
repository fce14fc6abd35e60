import QtQuick
import Zelfor.Kit

// An open ring fading from transparent violet to cyan, turning once every 0.9 s while
// it is shown.
Item {
    id: root

    property real size: 34

    width: size
    height: size

    // Half the line lies outside the circle, so the drawing overhangs the item.
    SpinnerArc {
        anchors.fill: parent
        anchors.margins: -lineWidth / 2
        lineWidth: 0.11 * root.size
        rotation: turn.value
    }

    SpinnerTurn {
        id: turn
        objectName: "spinnerTurn"
        item: root
    }
}
