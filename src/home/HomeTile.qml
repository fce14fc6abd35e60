import QtQuick
import Zelfor.Kit

// One tile of the home grid: a tinted card with its symbol, a label and up to two lines
// below. Texts keep a readable size however small `s` gets.
Card {
    id: root

    property string icon
    property string label
    property string sub: ""
    property string sub2: ""
    property color accent: Theme.violet
    property color subColor: Theme.textDim
    property real s: 1

    radius: 22
    hoverScale: 1.03
    fill: Theme.withOpacity(Theme.surface, 0.92)

    Wash {
        anchors.fill: parent
        from: Theme.withOpacity(root.accent, root.focused ? 0.5 : 0.3)
        to: Theme.withOpacity(root.accent, 0.04)
    }

    // Clipped here too, for renderers where the card cannot clip its corners.
    Item {
        anchors.fill: parent
        clip: true

        Icon {
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.rightMargin: -18
            anchors.bottomMargin: -18
            name: root.icon
            size: 92 * root.s
            opacity: 0.06
        }
    }

    IconBadge {
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: 16 * root.s
        icon: root.icon
        size: 42 * root.s
        tint: root.accent
        fill: Theme.withOpacity(root.accent, 0.22)
        gradient: root.focused
    }

    Column {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 16 * root.s

        UiText {
            objectName: "label"
            width: parent.width
            text: root.label
            color: "white"
            font.pointSize: Theme.pointSize(Math.max(18 * root.s, 15))
            font.weight: Font.Bold
            maximumLineCount: 2
            wrapMode: Text.Wrap
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.round(0.8 * Math.max(18 * root.s, 15))
        }

        UiText {
            objectName: "sub"
            width: parent.width
            visible: root.sub !== ""
            topPadding: 2
            text: root.sub
            color: root.subColor
            font.pointSize: Theme.pointSize(Math.max(13 * root.s, 12))
            font.weight: Font.Medium
            elide: Text.ElideRight
        }

        UiText {
            objectName: "sub2"
            width: parent.width
            visible: root.sub2 !== ""
            topPadding: 1
            text: root.sub2
            color: Theme.textDim
            font.family: "monospace"
            font.pointSize: Theme.pointSize(Math.max(11.5 * root.s, 11))
            elide: Text.ElideRight
        }
    }
}
