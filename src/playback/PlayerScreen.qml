import QtQuick
import Zelfor.App
import Zelfor.Kit
import Zelfor.Playback

// The full-screen player: the picture, the spinner, the error card, the picture-mode
// toast, the overlay chrome (always left to right) and the side channel list.
Item {
    id: root
    objectName: "playerScreen"

    required property PlayerScreenModel screen

    Rectangle {
        anchors.fill: parent
        color: "black"
    }

    VideoSurface {
        id: surface
        objectName: "videoSurface"
        anchors.fill: parent
        engine: screen.engine
        hostsVLC: true
        usesVLC: screen.engine.usesVLC
        aspectMode: screen.picture.mode
    }

    // A single click runs the tap rule; a double click also toggles full screen.
    MouseArea {
        anchors.fill: parent
        onClicked: screen.tap()
        onDoubleClicked: screen.toggleFullScreen()
    }

    HoverHandler {
        onPointChanged: screen.chrome.pointerAt(point.position)
    }

    // Made only while shown, so its endless turn stops with it.
    Loader {
        objectName: "spinner"
        anchors.centerIn: parent
        active: screen.spinnerShown
        sourceComponent: Spinner {
            size: 54
        }
    }

    PlayerErrorCard {
        objectName: "errorCard"
        anchors.centerIn: parent
        screen: root.screen
        visible: screen.hasError
    }

    PlayerAspectToast {
        anchors.centerIn: parent
        screen: root.screen
    }

    Item {
        id: chrome
        objectName: "chrome"
        anchors.fill: parent
        opacity: screen.chrome.shown ? 1 : 0
        visible: opacity > 0
        LayoutMirroring.enabled: false
        LayoutMirroring.childrenInherit: true
        Behavior on opacity { NumberAnimation { duration: screen.chrome.controlsFadeMs; easing.type: Easing.OutQuad } }

        PlayerTopBar {
            objectName: "topBar"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.top: parent.top
            screen: root.screen
        }

        PlayerBottomBar {
            id: bottomBar
            objectName: "bottomBar"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            screen: root.screen
        }
    }

    // Subtitles keep clear of the controls while they show.
    Binding {
        target: root.screen.subtitles
        property: "picture"
        value: surface.pictureRect
    }

    Binding {
        target: root.screen.subtitles
        property: "controlsTop"
        value: bottomBar.y + bottomBar.controlsY
    }

    PlayerChannelList {
        objectName: "channelList"
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        screen: root.screen
    }
}
