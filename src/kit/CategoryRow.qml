import QtQuick
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

    readonly property bool hover: pointer.hovered

    implicitWidth: 260
    implicitHeight: 42

    Rectangle {
        anchors.fill: parent
        radius: 12
        // White at 0.06 while hovered; the gradient replaces it while selected.
        color: root.selected || !root.hover ? "transparent" : "#0fffffff"
    }

    Loader {
        anchors.fill: parent
        active: root.selected
        sourceComponent: GradientShape {
            radius: 12
            colors: [Theme.withOpacity(Theme.violet, 0.45), Theme.withOpacity(Theme.cyan, 0.18)]
        }
    }

    FocusFrame {
        anchors.fill: parent
        radius: 12
        amount: root.focused ? 1 : 0
        // White at 0.12 around a selected row.
        hairline: root.selected ? "#1fffffff" : "transparent"
    }

    Icon {
        id: symbol
        anchors.left: parent.left
        anchors.leftMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        width: root.icon !== "" ? 16 : 0
        visible: root.icon !== ""
        name: root.icon
        size: 12
        font.weight: Font.DemiBold
        color: root.selected ? "white" : Theme.violetLight
    }

    UiText {
        anchors.left: symbol.right
        anchors.leftMargin: symbol.visible ? 10 : 0
        anchors.right: count.left
        // The name takes the free width; the stack's spacing on both sides of a flexible
        // space of at least 6 stays before the count.
        anchors.rightMargin: 10 + 6 + 10
        anchors.verticalCenter: parent.verticalCenter
        clip: true
        text: ProviderText.line(root.name)
        color: root.selected ? "white" : Theme.text
        font.pointSize: Theme.pointSize(13.5)
        font.weight: root.selected ? Font.DemiBold : Font.Medium
        maximumLineCount: 1
        elide: Text.ElideRight
    }

    UiText {
        id: count
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        text: String(root.count)
        color: root.selected ? Theme.cyanLight : Theme.textDim
        font.pointSize: Theme.pointSize(11.5)
        font.weight: Font.DemiBold
    }

    TapArea {
        id: pointer
        anchors.fill: parent
        action: root.action
    }
}
