import QtQuick
import Zelfor.Kit

// Three bars that rise and fall without end: the mark of what is playing.
Item {
    id: root

    readonly property var restHeights: [5, 13, 7]
    readonly property var peakHeights: [14, 6, 11]
    // 0 at the resting heights, 1 at the peak ones.
    property real phase: 0

    implicitWidth: 3 * 3.5 + 2 * 2
    implicitHeight: 14

    // Runs only while shown, so hidden marks in list rows cost no frames; it starts
    // again from the resting heights each time the mark appears.
    SequentialAnimation on phase {
        running: root.visible
        loops: Animation.Infinite
        NumberAnimation { from: 0; to: 1; duration: 450; easing.type: Easing.InOutQuad }
        NumberAnimation { from: 1; to: 0; duration: 450; easing.type: Easing.InOutQuad }
    }

    Row {
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        height: 14
        spacing: 2

        Repeater {
            model: 3

            Rectangle {
                required property int index
                width: 3.5
                height: root.restHeights[index] + (root.peakHeights[index] - root.restHeights[index]) * root.phase
                y: 14 - height
                radius: 1.5
                color: Theme.cyanLight
            }
        }
    }
}
