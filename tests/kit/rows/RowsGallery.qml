import QtQuick
import Zelfor.Kit

// Channel rows, category rows, poster cards and the filter field in their states.
Rectangle {
    id: root

    property string base: ""
    property bool rightToLeft: false

    width: 1100
    height: 760
    color: Theme.bg
    LayoutMirroring.enabled: rightToLeft
    LayoutMirroring.childrenInherit: true

    Column {
        id: channels
        anchors.left: parent.left
        anchors.leftMargin: 20
        y: 20
        width: 420
        spacing: 6

        ChannelRow {
            width: parent.width
            name: "FR | TF1 HD"; logo: root.base + "/logo-wide.png"; num: 1; catchupDays: 7
            favorite: true; playing: true; equalizer: true; focused: true
        }
        ChannelRow {
            width: parent.width
            name: "Canal+ Sport"; logo: root.base + "/logo-tall.webp"; num: 12; catchupDays: 0
            favorite: false; playing: false; equalizer: false; focused: false
        }
        ChannelRow {
            width: parent.width
            name: "[VIP] Sports One with a very long channel name that has to be cut"; logo: root.base + "/missing.png"
            num: 0; catchupDays: 2; favorite: true; playing: false; equalizer: false; focused: false
        }
        ChannelRow {
            width: parent.width
            name: "24 Kitchen"; logo: ""; num: 1024; catchupDays: 0
            favorite: false; playing: false; equalizer: false; focused: true
        }
        ChannelRow {
            width: parent.width
            name: "الجزيرة الوثائقية"; logo: ""; num: 7; catchupDays: 0
            favorite: false; playing: true; equalizer: true; focused: false
        }

        Item { width: 1; height: 10 }

        CategoryRow { width: 260; name: "All channels"; count: 60211; icon: "square.grid.2x2.fill"; selected: true; focused: true }
        CategoryRow { width: 260; name: "Favorites"; count: 0; icon: "heart.fill" }
        CategoryRow { width: 260; name: "Documentaries and nature from around the world"; count: 7; selected: true }

        Item { width: 1; height: 10 }

        FilterField { width: 300; placeholder: "Filter channels" }
        FilterField { width: 300; placeholder: "Filter"; text: "news" }
    }

    Grid {
        anchors.left: channels.right
        anchors.leftMargin: 40
        y: 30
        columns: 3
        spacing: 22

        PosterCard {
            width: 170
            name: "The Long Road Home"; logo: root.base + "/poster.webp"; ratingBadge: "7.3"
            favorite: true; focused: true
        }
        PosterCard {
            width: 170
            name: "A Film Whose Title Runs On For Three Lines At Least Here"; logo: root.base + "/backdrop.png"
            ratingBadge: "8.0"; favorite: false
        }
        PosterCard { width: 170; name: "Lost Poster"; logo: root.base + "/missing.png"; ratingBadge: ""; favorite: true }
        PosterCard { width: 170; name: "No Poster At All"; logo: ""; ratingBadge: ""; favorite: false }

        Column {
            spacing: 16
            RemoteImage { width: 170; height: 100; title: "Canal+ Sport"; fontSize: 30 }
            RemoteImage { width: 170; height: 100; url: root.base + "/backdrop.png"; title: "Backdrop"; fill: false }
            EqualizerIcon { }
        }
    }
}
