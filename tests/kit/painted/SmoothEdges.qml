import QtQuick
import Zelfor.Kit

// Round shapes in one colour on black: painted smooth, their rims blend into the black.
Rectangle {
    width: 120; height: 60
    color: "black"
    GradientShape { objectName: "disc"; x: 10; y: 10; width: 40; height: 40; radius: 20; colors: ["white", "white"] }
    FocusFrame { objectName: "ring"; x: 70; y: 10; width: 40; height: 40; radius: 20; hairline: "white" }
}
