import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// One option of the choice dialog: a card, violet when it is the current choice,
// with a check mark at the far end.
Card {
    id: root

    property string text
    property bool selected: false

    height: 46
    radius: 14
    fill: selected ? Theme.withOpacity(Theme.violet, 0.22) : Theme.raised
    clipContent: false
    hoverScale: 1.01

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16

        UiText {
            Layout.fillWidth: true
            text: root.text
            color: "white"
            font.pixelSize: 14
            font.weight: Font.Medium
            maximumLineCount: 1
            elide: Text.ElideRight
        }

        AccentIcon {
            objectName: "checkMark"
            visible: root.selected
            name: "checkmark.circle.fill"
            size: 18
        }
    }
}
