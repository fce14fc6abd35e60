import QtQuick
import Zelfor.Kit

// Items that show shared textures, on black.
Rectangle {
    width: 420; height: 100
    color: "black"
    PicturePlaceholder { objectName: "placeholder"; x: 10; y: 10; width: 120; height: 80; title: "Arte" }
    FocusFrame { objectName: "frame"; x: 150; y: 10; width: 120; height: 80; radius: 6; hairline: "white" }
    FocusFrame { objectName: "focused"; x: 290; y: 10; width: 120; height: 80; radius: 6; amount: 1 }
}
