import QtQuick
import QtMultimedia
import Zelfor.Playback

// The engine's picture: the platform player's frames, and the libVLC frames
// while this surface hosts them (drawn by our own items under the software renderer).
// Takes no clicks. A picture-mode change moves the platform picture to its new place
// over 0.2 s.
Item {
    id: root

    property QtObject engine
    property bool hostsVLC: false
    property bool usesVLC: false
    property int aspectMode: 0
    // Where the picture shown lies in the surface.
    readonly property rect pictureRect: binding.showsVLC ? vlcPicture.contentRect : binding.platformRect

    clip: true

    Rectangle {
        anchors.fill: parent
        color: "black"
    }

    VideoOutput {
        id: platformPicture
        objectName: "platformPicture"
        x: binding.platformRect.x
        y: binding.platformRect.y
        width: binding.platformRect.width
        height: binding.platformRect.height
        fillMode: VideoOutput.Stretch

        SoftwareVideoPicture {
            anchors.fill: parent
            videoSink: platformPicture.videoSink
            fillMode: platformPicture.fillMode
        }
    }

    VideoOutput {
        id: vlcPicture
        objectName: "vlcPicture"
        anchors.fill: parent
        visible: binding.showsVLC
        fillMode: binding.fillMode

        SoftwareVideoPicture {
            anchors.fill: parent
            videoSink: vlcPicture.videoSink
            fillMode: vlcPicture.fillMode
        }
    }

    VideoSurfaceBinding {
        id: binding
        objectName: "binding"
        engine: root.engine
        platformSink: platformPicture.videoSink
        vlcSink: vlcPicture.videoSink
        hostsVLC: root.hostsVLC
        usesVLC: root.usesVLC
        size: Qt.size(root.width, root.height)
        aspectMode: root.aspectMode
        onModeTransitionStarted: modeAnimation.restart()
    }

    NumberAnimation {
        id: modeAnimation
        target: binding
        property: "modeProgress"
        from: 0
        to: 1
        duration: 200
        easing.type: Easing.InOutQuad
    }
}
