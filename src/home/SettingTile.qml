import QtQuick
import Zelfor.Kit

// One tile of the settings grid: its symbol, title, description or value, and a status line.
Card {
    id: root

    property color accent: Theme.violet
    property string icon
    property string title
    property string subtitle: ""
    property string trailing: ""
    property color trailingColor: Theme.textDim

    height: 176
    radius: 22
    hoverScale: 1.03
    fill: Theme.surface

    Wash {
        anchors.fill: parent
        from: Theme.withOpacity(root.accent, root.focused ? 0.26 : 0.15)
    }

    Column {
        anchors.fill: parent
        anchors.margins: 16

        // Anchored, so that it sits at the leading edge in Arabic too.
        Item {
            width: parent.width
            height: 46

            IconBadge {
                objectName: "badge"
                anchors.left: parent.left
                icon: root.icon
                size: 46
                tint: root.accent
                fill: Theme.withOpacity(root.accent, 0.18)
            }
        }

        Item {
            width: 1
            height: Math.max(8, parent.height - 46 - texts.height)
        }

        Column {
            id: texts
            width: parent.width

            UiText {
                objectName: "title"
                width: parent.width
                text: root.title
                color: "white"
                font.pointSize: Theme.pointSize(15.5)
                font.weight: Font.Bold
                wrapMode: Text.Wrap
            }

            UiText {
                objectName: "subtitle"
                width: parent.width
                visible: root.subtitle !== ""
                text: root.subtitle
                color: Theme.textDim
                font.pixelSize: 12
                maximumLineCount: 2
                wrapMode: Text.Wrap
                elide: Text.ElideRight
            }

            UiText {
                objectName: "trailing"
                width: parent.width
                visible: root.trailing !== ""
                text: root.trailing
                color: root.trailingColor
                font.pixelSize: 12
                font.weight: Font.DemiBold
                maximumLineCount: 1
                elide: Text.ElideRight
            }
        }
    }
}
