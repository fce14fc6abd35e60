import QtQuick
import QtQuick.Controls
import Zelfor.App
import Zelfor.Kit

// The app's tooltip: white text on the surface colour, shown after a short rest of the
// pointer. Place it in the item it explains and bind `shown` to that item's hover; no tip
// shows while a menu is open.
ToolTip {
    property bool shown: false

    visible: shown && !KeyRouter.menuOpen
    delay: 600
    palette.toolTipBase: Theme.surface
    palette.toolTipText: "white"
    palette.dark: Theme.raisedHover
}
