import QtQuick
import Zelfor.Kit

// Every widget of the kit on one page, for a rendering check in both directions.
Item {
    id: root

    property bool rightToLeft: false
    property var dialogModel: null

    width: 1360
    height: 840
    LayoutMirroring.enabled: rightToLeft
    LayoutMirroring.childrenInherit: true

    AppBackground { anchors.fill: parent }

    Column {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: 32
        width: 620
        spacing: 22

        ScreenHeader {
            width: parent.width
            title: root.rightToLeft ? "الإعدادات" : "Settings"
            subtitle: root.rightToLeft ? "الإصدار 1.1.6" : "Version 1.1.6"
            backAction: () => {}
            CircleButton { icon: "magnifyingglass"; size: 42; help: "Search"; focused: true }
        }

        BrandTitle { objectName: "brandTitle"; markSize: 46; fontSize: 30 }

        Row {
            spacing: 14
            IconBadge { icon: "play.tv.fill"; size: 52; gradient: true }
            IconBadge { icon: "film.fill"; size: 52; tint: Theme.cyan; fill: Theme.raised }
            CircleButton { icon: "heart.fill"; size: 42; tint: Theme.pink }
            Spinner { objectName: "spinner"; size: 34 }
        }

        Row {
            spacing: 14
            PillButton { objectName: "primaryButton"; title: root.rightToLeft ? "تشغيل" : "Play"; icon: "play.fill"; primary: true; height: 42 }
            PillButton { title: root.rightToLeft ? "المفضلة" : "Favorite"; icon: "heart"; focused: true; height: 42 }
        }

        Row {
            spacing: 10
            Chip { text: root.rightToLeft ? "غير متصل" : "Offline"; color: Theme.amber; icon: "wifi.slash" }
            Chip { text: "4K"; color: Theme.cyan }
            LiveBadge {}
        }

        SectionLabel { text: root.rightToLeft ? "القنوات المباشرة" : "Live channels" }

        Row {
            spacing: 16
            Repeater {
                model: 3
                Card {
                    id: tile
                    required property int index
                    objectName: ["focusedCard", "restingCard", "accentCard"][index]
                    width: 190
                    height: 110
                    radius: 16
                    focused: index === 0
                    fillGradient: index === 2 ? Card.AccentDiagonal : Card.NoGradient
                    hoverScale: 1.04
                    UiText { anchors.centerIn: parent; text: ["Focused", "Resting", "Accent"][tile.index]; color: "white" }
                }
            }
        }

        ToastView {
            text: root.rightToLeft ? "تم التحديث" : "Refreshed — the list of playlists is up to date and ready to be used on this device right now."
            maximumWidth: 520
        }
    }

    // Shapes on a plain fill, where every pixel has one exact value on every renderer.
    Rectangle {
        objectName: "probes"
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: 32
        width: 620
        height: 180
        color: Theme.bg

        // Focused, with a see-through fill: its glow lies only outside it.
        Card {
            objectName: "glowCard"
            x: 24
            y: 24
            width: 160
            height: 90
            focused: true
            fill: Theme.withOpacity(Theme.violet, 0.22)
        }

        // A child reaching past every edge shows only inside the rounded shape.
        Card {
            objectName: "clipCard"
            x: 224
            y: 24
            width: 160
            height: 90

            Rectangle {
                anchors.fill: parent
                anchors.margins: -20
                color: Theme.red
            }
        }

        Column {
            x: 424
            y: 24
            spacing: 16

            FilterField { objectName: "rimField"; width: 170; placeholder: "Filter" }
            Chip { objectName: "rimChip"; text: "HD"; color: Theme.cyan }
        }
    }

    Column {
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 32
        width: 640

        LoadingView {
            width: parent.width
            height: 160
            text: root.rightToLeft ? "جارٍ التحميل…" : "Loading channels…"
        }

        MessageView {
            width: parent.width
            height: 220
            icon: "wifi.slash"
            text: root.rightToLeft ? "لا يوجد اتصال بالإنترنت" : "The server could not be reached. Check the connection and try again."
            color: Theme.amber
            actionTitle: root.rightToLeft ? "إعادة المحاولة" : "Try again"
            action: () => {}
        }

        ChoiceDialogView {
            width: parent.width
            height: 380
            visible: root.dialogModel !== null
            model: root.dialogModel
        }
    }
}
