import QtQuick
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Kit
import Zelfor.Playback

// The control row: zapping and seeking around play/pause, the live badge, then the track
// menus, the channel list, the favourite, the picture mode and full screen.
RowLayout {
    id: root

    required property PlayerScreenModel screen

    spacing: 12

    Binding {
        target: root.screen.tracks
        property: "menuOpen"
        value: audioMenu.open || subtitleMenu.open
    }

    CircleButton {
        objectName: "previousButton"
        visible: root.screen.queueButtons
        icon: "backward.end.fill"
        size: 44
        help: Localized.text("previous")
        action: () => root.screen.previous()
    }

    CircleButton {
        objectName: "backTenButton"
        visible: root.screen.seekable
        icon: "gobackward.10"
        size: 44
        action: () => root.screen.seekBy(-10)
    }

    Item {
        objectName: "playPauseButton"
        Layout.preferredWidth: 58
        Layout.preferredHeight: 58

        Shadow {
            target: playFill
            color: Theme.violet
            opacity: 0.6
            blur: 14
            shapeRadius: 29
        }

        GradientShape {
            id: playFill
            anchors.fill: parent
            radius: 29
            diagonal: true
        }

        Icon {
            anchors.centerIn: parent
            name: root.screen.playPauseIcon
            size: 22
            font.weight: Font.Bold
        }

        MouseArea {
            anchors.fill: parent
            onClicked: root.screen.togglePause()
        }
    }

    CircleButton {
        objectName: "forwardTenButton"
        visible: root.screen.seekable
        icon: "goforward.10"
        size: 44
        action: () => root.screen.seekBy(10)
    }

    CircleButton {
        objectName: "nextButton"
        visible: root.screen.queueButtons
        icon: "forward.end.fill"
        size: 44
        help: Localized.text("next")
        action: () => root.screen.next()
    }

    UiText {
        objectName: "liveBadge"
        visible: root.screen.liveBadge
        leftPadding: 6
        text: Localized.text("live_badge")
        color: Theme.red
        font.pixelSize: 12
        font.weight: Font.ExtraBold
        font.letterSpacing: Localized.language() === "ar" ? 0 : 1.5
    }

    Item {
        Layout.fillWidth: true
    }

    PlayerTrackMenu {
        id: audioMenu
        objectName: "audioMenu"
        visible: root.screen.tracks.audioMenu.length > 0
        icon: "waveform"
        help: Localized.text("audio_track")
        entries: root.screen.tracks.audioMenu
        onChosen: entry => root.screen.tracks.chooseTrack(true, entry)
    }

    PlayerTrackMenu {
        id: subtitleMenu
        objectName: "subtitleMenu"
        visible: root.screen.tracks.subtitleMenu.length > 0
        icon: "captions.bubble"
        help: Localized.text("subtitles")
        entries: root.screen.tracks.subtitleMenu
        onChosen: entry => root.screen.tracks.chooseTrack(false, entry)
    }

    CircleButton {
        objectName: "listButton"
        visible: root.screen.queueButtons
        icon: "list.bullet"
        size: 44
        tint: root.screen.queueList.shown ? Theme.cyan : "white"
        help: Localized.text("channel_list")
        action: () => root.screen.toggleList()
    }

    CircleButton {
        objectName: "favoriteButton"
        visible: root.screen.favoriteButton
        icon: root.screen.isFavorite ? "heart.fill" : "heart"
        size: 44
        tint: root.screen.isFavorite ? Theme.pink : "white"
        help: Localized.text("favorites")
        action: () => root.screen.toggleFavorite()
    }

    Item {
        objectName: "aspectButton"
        Layout.preferredWidth: aspectLabel.implicitWidth + 28
        Layout.preferredHeight: 44

        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: Theme.raised
            border.width: 1
            border.color: Qt.rgba(1, 1, 1, 0.1)
        }

        Row {
            id: aspectLabel
            anchors.centerIn: parent
            spacing: 7

            Icon {
                anchors.verticalCenter: parent.verticalCenter
                name: "aspectratio"
                size: 14
                font.weight: Font.DemiBold
            }

            UiText {
                anchors.verticalCenter: parent.verticalCenter
                text: root.screen.picture.label
                color: "white"
                font.pixelSize: 13
                font.weight: Font.DemiBold
            }
        }

        MouseArea {
            id: aspectPointer
            anchors.fill: parent
            hoverEnabled: true
            onClicked: root.screen.picture.cycle()
        }

        HelpTip {
            objectName: "aspectTip"
            shown: aspectPointer.containsMouse
            text: Localized.labelled("aspect_ratio", "(A)")
        }
    }

    CircleButton {
        objectName: "fullScreenButton"
        icon: root.screen.fullScreenIcon
        size: 44
        help: Localized.labelled("fullscreen", "(F)")
        action: () => root.screen.toggleFullScreen()
    }
}
