import QtQuick
import Zelfor.Kit

// The large live TV tile: a violet-to-teal card with glows, wave lines, a watermark, the
// pulsing live badge, the label and the channel count. `s` scales its insides.
Card {
    id: root

    property string label
    property string count
    property real s: 1

    radius: 26
    hoverScale: 1.025
    fill: "#4C1D95"

    GradientShape {
        anchors.fill: parent
        radius: root.radius
        diagonal: true
        colors: ["#7C3AED", "#4C1D95", "#0E7490"]
    }

    // Centred on the top leading corner.
    RadialGlow {
        objectName: "whiteGlow"
        anchors.horizontalCenter: parent.left
        anchors.verticalCenter: parent.top
        width: 2 * 420
        height: width
        color: Qt.rgba(1, 1, 1, root.focused ? 0.24 : 0.13)
    }

    // Centred on the bottom trailing corner.
    RadialGlow {
        objectName: "cyanGlow"
        anchors.horizontalCenter: parent.right
        anchors.verticalCenter: parent.bottom
        width: 2 * 380
        height: width
        color: Theme.withOpacity(Theme.cyan, root.focused ? 0.45 : 0.32)
    }

    RippleLines {
        anchors.fill: parent
    }

    // Clipped here too, for renderers where the card cannot clip its corners.
    Item {
        anchors.fill: parent
        clip: true

        Icon {
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.rightMargin: -30
            anchors.bottomMargin: -26
            name: "play.tv.fill"
            size: 170 * root.s
            opacity: 0.09
        }
    }

    overlay: LiveBadge {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 16 * root.s
    }

    Column {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 22 * root.s
        spacing: 4

        IconBadge {
            icon: "play.tv.fill"
            size: 62 * root.s
            tint: "white"
            fill: Qt.rgba(1, 1, 1, 0.16)
        }

        Item {
            width: 1
            height: 14 * root.s - 4
        }

        UiText {
            objectName: "label"
            width: parent.width
            text: root.label
            color: "white"
            font.family: Theme.roundedFontFamily
            font.pointSize: Theme.pointSize(31 * root.s)
            font.weight: Font.ExtraBold
            maximumLineCount: 2
            wrapMode: Text.Wrap
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.round(0.7 * 31 * root.s)
        }

        UiText {
            objectName: "count"
            width: parent.width
            text: root.count
            color: Qt.rgba(1, 1, 1, 0.85)
            font.pointSize: Theme.pointSize(15 * root.s)
            font.weight: Font.Medium
            elide: Text.ElideRight
        }
    }
}
