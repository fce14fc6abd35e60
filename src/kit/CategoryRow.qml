import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// One line of a category list: an optional symbol, the name and the item count.
Item {
    id: root

    property string name
    property int count: 0
    property bool selected: false
    property bool focused: false
    // A symbol name drawn before the name; empty for none.
    property string icon: ""
    property var action: null

    readonly property bool hover: hoverHandler.hovered

    implicitWidth: 260
    implicitHeight: 42

    Rectangle {
        anchors.fill: parent
        radius: 12
        visible: !root.selected
        color: Qt.rgba(1, 1, 1, root.hover ? 0.06 : 0)
    }

    GradientShape {
        anchors.fill: parent
        radius: 12
        visible: root.selected
        from: Theme.withOpacity(Theme.violet, 0.45)
        to: Theme.withOpacity(Theme.cyan, 0.18)
    }

    Rectangle {
        anchors.fill: parent
        radius: 12
        visible: !root.focused
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, root.selected ? 0.12 : 0)
    }

    GradientShape {
        anchors.fill: parent
        radius: 12
        borderWidth: 2
        visible: root.focused
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 14
        anchors.rightMargin: 14
        spacing: 10

        Icon {
            Layout.preferredWidth: 16
            visible: root.icon !== ""
            name: root.icon
            size: 12
            font.weight: Font.DemiBold
            color: root.selected ? "white" : Theme.violetLight
        }

        UiText {
            Layout.fillWidth: true
            text: root.name
            color: root.selected ? "white" : Theme.text
            font.pixelSize: 14
            font.weight: root.selected ? Font.DemiBold : Font.Medium
            maximumLineCount: 1
            elide: Text.ElideRight
        }

        // The name takes the free width; at least this much stays before what follows.
        Item {
            Layout.preferredWidth: 6
        }

        UiText {
            text: String(root.count)
            color: root.selected ? Theme.cyanLight : Theme.textDim
            font.pixelSize: 12
            font.weight: Font.DemiBold
        }
    }

    HoverHandler {
        id: hoverHandler
    }

    MouseArea {
        anchors.fill: parent
        onClicked: if (root.action) root.action()
    }
}
