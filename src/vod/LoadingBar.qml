import QtQuick
import Zelfor.Kit

// An indeterminate progress bar: a cyan stretch sweeping along a dim track.
Item {
    id: root

    implicitWidth: 240
    implicitHeight: 4
    clip: true

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.withOpacity(Theme.cyan, 0.2)
    }

    Rectangle {
        id: sweep
        width: root.width * 0.35
        height: root.height
        radius: height / 2
        color: Theme.cyan

        NumberAnimation on x {
            from: -sweep.width
            to: root.width
            duration: 1100
            loops: Animation.Infinite
            running: root.visible
        }
    }
}
