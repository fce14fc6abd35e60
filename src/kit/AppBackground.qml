import QtQuick
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// The backdrop behind every screen: the base colour under a violet glow at the
// upper left and a cyan glow at the lower right, both sized by the longer side.
Rectangle {
    id: root

    readonly property real extent: Math.max(width, height)
    readonly property real violetRadius: 0.55 * extent
    readonly property real cyanRadius: 0.45 * extent

    color: Theme.bg

    RadialGradient {
        anchors.fill: parent
        horizontalOffset: (0.18 - 0.5) * root.width
        verticalOffset: (0.25 - 0.5) * root.height
        horizontalRadius: root.violetRadius
        verticalRadius: root.violetRadius
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.withOpacity(Theme.violet, 0.2) }
            GradientStop { position: 1; color: Theme.withOpacity(Theme.violet, 0) }
        }
    }

    RadialGradient {
        anchors.fill: parent
        horizontalOffset: (0.88 - 0.5) * root.width
        verticalOffset: (0.85 - 0.5) * root.height
        horizontalRadius: root.cyanRadius
        verticalRadius: root.cyanRadius
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.withOpacity(Theme.cyan, 0.12) }
            GradientStop { position: 1; color: Theme.withOpacity(Theme.cyan, 0) }
        }
    }
}
