import QtQuick
import QtQuick.Controls
import Zelfor.Kit

// The app's tooltip: white text on the surface colour, shown after a short rest of the
// pointer. Place it in the item it explains and bind `visible` to that item's hover.
ToolTip {
    delay: 600
    palette.toolTipBase: Theme.surface
    palette.toolTipText: "white"
    palette.dark: Theme.raisedHover
}
