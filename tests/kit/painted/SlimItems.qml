import QtQuick
import Zelfor.Kit

// Painted kit items narrower or lower than a pixel, as a progress fill at its start or a
// frame growing from nothing is for a moment.
Column {
    width: 200; height: 200
    GradientShape { width: 0.4; height: 6; colors: ["red", "blue"] }
    FocusFrame { width: 40; height: 0.3; amount: 1 }
    PicturePlaceholder { width: 0.5; height: 20; title: "BBC" }
    RadialGlow { width: 0.2; height: 0.2; color: "white" }
    AccentText { width: 0.6; height: 10; text: "Zelfor"; colors: ["red", "blue"] }
}
