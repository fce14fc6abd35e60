import QtQuick
import QtQuick.Shapes
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// An open ring fading from transparent violet to cyan, turning once every 0.9 s.
Item {
    id: root

    property real size: 34
    readonly property real lineWidth: 0.11 * size

    width: size
    height: size

    // Half the line lies outside the circle, so the drawing overhangs the item.
    Shape {
        id: arc
        anchors.fill: parent
        anchors.margins: -root.lineWidth
        visible: false
        layer.enabled: true
        layer.samples: 4

        ShapePath {
            fillColor: "transparent"
            strokeColor: "white"
            strokeWidth: root.lineWidth
            capStyle: ShapePath.RoundCap
            joinStyle: ShapePath.MiterJoin
            PathAngleArc {
                centerX: arc.width / 2
                centerY: arc.height / 2
                radiusX: root.size / 2
                radiusY: root.size / 2
                startAngle: 0.08 * 360
                sweepAngle: 0.7 * 360
            }
        }
    }

    ConicalGradient {
        anchors.fill: arc
        source: arc
        angle: 90
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.withOpacity(Theme.violet, 0.1) }
            GradientStop { position: 0.5; color: Theme.violet }
            GradientStop { position: 1; color: Theme.cyan }
        }
    }

    RotationAnimator on rotation {
        from: 0
        to: 360
        duration: 900
        loops: Animation.Infinite
    }
}
