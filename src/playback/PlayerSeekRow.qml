import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Playback

// Elapsed time, the seek bar (a click or a drag scrubs, the release seeks) and the duration.
RowLayout {
    id: root

    required property PlayerScreenModel screen

    spacing: 14

    UiText {
        objectName: "elapsed"
        text: root.screen.seek.elapsedText
        color: "white"
        font.pointSize: Theme.pointSize(12.5)
        font.weight: Font.DemiBold
    }

    Item {
        id: bar
        objectName: "seekBar"
        Layout.fillWidth: true
        Layout.preferredHeight: 20

        readonly property real reach: root.screen.seek.fraction * width

        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width
            height: 6
            radius: 3
            color: Qt.rgba(1, 1, 1, 0.18)
        }

        GradientShape {
            objectName: "progress"
            anchors.verticalCenter: parent.verticalCenter
            width: Math.max(bar.reach, 6)
            height: 6
            radius: 3
        }

        Shadow {
            target: thumb
            color: Theme.violet
            blur: 6
            shapeRadius: thumb.radius
        }

        Rectangle {
            id: thumb
            objectName: "thumb"
            anchors.verticalCenter: parent.verticalCenter
            x: Math.max(bar.reach - 8, 0)
            width: 16
            height: 16
            radius: 8
            color: "white"
        }

        MouseArea {
            anchors.fill: parent
            preventStealing: true
            onPressed: mouse => root.screen.seek.scrubChanged(mouse.x, width)
            onPositionChanged: mouse => root.screen.seek.scrubChanged(mouse.x, width)
            onReleased: root.screen.seek.scrubEnded()
            onCanceled: root.screen.seek.scrubEnded()
        }
    }

    UiText {
        objectName: "duration"
        text: root.screen.seek.durationText
        color: Qt.rgba(1, 1, 1, 0.75)
        font.pointSize: Theme.pointSize(12.5)
        font.weight: Font.DemiBold
    }
}
