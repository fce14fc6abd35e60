import QtQuick
import Zelfor.Kit

// The soft painted pictures side by side on black.
Rectangle {
    width: 440; height: 180
    color: "black"
    AppBackground { objectName: "background"; x: 0; y: 10; width: 240; height: 160 }
    RadialGlow { objectName: "glow"; x: 260; y: 10; width: 160; height: 160; color: Qt.rgba(0.5, 0.3, 1, 0.45) }
}
