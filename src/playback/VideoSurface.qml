import QtQuick
import QtMultimedia
import Zelfor.Playback

// The engine's picture: the platform player's frames, and the libVLC frames
// while this surface hosts them. Takes no clicks.
Item {
    id: root

    property QtObject engine
    property bool hostsVLC: false
    property bool usesVLC: false
    property int aspectMode: 0

    Rectangle {
        anchors.fill: parent
        color: "black"
    }

    VideoOutput {
        id: platformPicture
        objectName: "platformPicture"
        anchors.fill: parent
        fillMode: binding.fillMode
    }

    VideoOutput {
        id: vlcPicture
        objectName: "vlcPicture"
        anchors.fill: parent
        visible: binding.showsVLC
        fillMode: binding.fillMode
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
    }
}
