import QtQuick
import Zelfor.Kit

// The rounded, outlined panel under each column of the live and catch-up screens.
Rectangle {
    radius: 20
    color: Theme.surfaceDim
    border.width: 1
    border.color: Theme.stroke
}
