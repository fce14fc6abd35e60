import QtQuick
import Zelfor.Kit

// A gradient wash from `from` to `to`, left to right or diagonally.
GradientShape {
    property color from
    property color to: "transparent"

    diagonal: true
    colors: [from, to]
}
