import QtQuick
import Zelfor.Kit

// The round back button; its arrow points to the start of the reading direction.
CircleButton {
    icon: Localized.rightToLeft() ? "chevron.right" : "chevron.left"
    size: 42
    tint: "white"
    help: Localized.text("back")
    focused: false
}
