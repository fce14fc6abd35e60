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
            item: ({ name: "FR | TF1 HD", logo: root.base + "/logo-wide.png", catchup: { days: 7 } })
            number: 1
            favorite: true
            playing: true
            focused: true
        }
        ChannelRow { width: parent.width; item: ({ name: "Canal+ Sport", logo: root.base + "/logo-tall.webp" }); number: 12 }
        ChannelRow {
            width: parent.width
            item: ({ name: "[VIP] Sports One with a very long channel name that has to be cut", logo: root.base + "/missing.png", catchup: { days: 2 } })
            number: 0
            favorite: true
        }
        ChannelRow { width: parent.width; item: ({ name: "24 Kitchen" }); number: 1024; focused: true }
        ChannelRow { width: parent.width; item: ({ name: "الجزيرة الوثائقية", logo: "" }); number: 7; playing: true }

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
            item: ({ name: "The Long Road Home", logo: root.base + "/poster.webp", rating: "7.26" })
            favorite: true
            focused: true
        }
        PosterCard { width: 170; item: ({ name: "A Film Whose Title Runs On For Three Lines At Least Here", logo: root.base + "/backdrop.png", rating: "8" }) }
        PosterCard { width: 170; item: ({ name: "Lost Poster", logo: root.base + "/missing.png", rating: "N/A" }); favorite: true }
        PosterCard { width: 170; item: ({ name: "No Poster At All", rating: "0" }) }

        Column {
            spacing: 16
            RemoteImage { width: 170; height: 100; title: "Canal+ Sport"; fontSize: 30 }
            RemoteImage { width: 170; height: 100; url: root.base + "/backdrop.png"; title: "Backdrop"; fill: false }
            EqualizerIcon { }
        }
    }
}
