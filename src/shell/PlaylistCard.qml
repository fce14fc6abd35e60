import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// One playlist of the picker: its symbol, name and number, and a check mark when saved.
Card {
    id: card

    property string title
    property string subtitle
    property bool saved: false

    height: 180
    radius: 22
    fill: Theme.surface
    clipContent: false
    hoverScale: 1.02

    GradientShape {
        anchors.fill: parent
        radius: card.radius
        diagonal: true
        colors: [Theme.withOpacity(Theme.violet, card.active ? 0.42 : 0.26), Theme.withOpacity(Theme.cyan, 0.06)]
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 22
        spacing: 0

        IconBadge {
            icon: "list.bullet.rectangle.portrait.fill"
            size: 50
            tint: Theme.violetLight
            fill: Theme.withOpacity(Theme.violet, 0.25)
            gradient: card.active
        }
        Item { Layout.fillHeight: true }
        UiText {
            Layout.fillWidth: true
            text: card.title
            color: "white"
            font.pixelSize: 21
            font.weight: Font.Bold
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
        }
        UiText {
            Layout.fillWidth: true
            text: card.subtitle
            color: Theme.textDim
            font.pixelSize: 13
        }
    }

    AccentIcon {
        visible: card.saved
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 18
        name: "checkmark.circle.fill"
        size: 24
    }
}
