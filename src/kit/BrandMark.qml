import QtQuick
import QtQuick.Shapes
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// The product mark: a gradient tile with a play triangle over two ripples, drawn
// on a 100 by 100 grid scaled to `size`.
Item {
    id: root

    property real size: 64
    readonly property real unit: size / 100

    width: size
    height: size

    Rectangle {
        id: tile
        anchors.fill: parent
        radius: 24 * root.unit
        visible: false
    }

    AccentGradient {
        anchors.fill: parent
        source: tile
        diagonal: true
    }

    RadialGradient {
        anchors.fill: parent
        source: tile
        horizontalOffset: (24 - 50) * root.unit
        verticalOffset: (18 - 50) * root.unit
        horizontalRadius: 62 * root.unit
        verticalRadius: 62 * root.unit
        gradient: Gradient {
            GradientStop { position: 0; color: Qt.rgba(1, 1, 1, 0.22) }
            GradientStop { position: 1; color: Qt.rgba(1, 1, 1, 0) }
        }
    }

    Shape {
        id: glyphs
        anchors.fill: parent
        layer.enabled: true
        layer.samples: 4

        ShapePath {
            id: triangle
            fillColor: "white"
            strokeColor: "white"
            strokeWidth: 8 * root.unit
            capStyle: ShapePath.FlatCap
            joinStyle: ShapePath.RoundJoin
            miterLimit: 10
            startX: 39 * root.unit; startY: 21 * root.unit
            PathLine { x: 39 * root.unit; y: 53 * root.unit }
            PathLine { x: 66 * root.unit; y: 37 * root.unit }
            PathLine { x: 39 * root.unit; y: 21 * root.unit }
        }

        ShapePath {
            fillColor: "transparent"
            strokeColor: "white"
            strokeWidth: 7 * root.unit
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.RoundJoin
            miterLimit: 10
            startX: 18 * root.unit; startY: 66 * root.unit
            PathCubic {
                x: 39 * root.unit; y: 66 * root.unit
                control1X: 25 * root.unit; control1Y: 59 * root.unit
                control2X: 32 * root.unit; control2Y: 59 * root.unit
            }
            PathCubic {
                x: 60 * root.unit; y: 66 * root.unit
                control1X: 46 * root.unit; control1Y: 73 * root.unit
                control2X: 53 * root.unit; control2Y: 73 * root.unit
            }
            PathCubic {
                x: 82 * root.unit; y: 66 * root.unit
                control1X: 67 * root.unit; control1Y: 59 * root.unit
                control2X: 75 * root.unit; control2Y: 59 * root.unit
            }
        }

        ShapePath {
            fillColor: "transparent"
            strokeColor: Qt.rgba(1, 1, 1, 0.6)
            strokeWidth: 6 * root.unit
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.MiterJoin
            miterLimit: 10
            startX: 32 * root.unit; startY: 80 * root.unit
            PathCubic {
                x: 50 * root.unit; y: 80 * root.unit
                control1X: 38 * root.unit; control1Y: 74 * root.unit
                control2X: 44 * root.unit; control2Y: 74 * root.unit
            }
            PathCubic {
                x: 68 * root.unit; y: 80 * root.unit
                control1X: 56 * root.unit; control1Y: 86 * root.unit
                control2X: 62 * root.unit; control2Y: 86 * root.unit
            }
        }
    }
}
