import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// A row of meta chips; `chips` holds maps of text, color and icon. Given less than their
// width, the last chip (the genre, the one of free length) elides its text.
RowLayout {
    id: chipRow

    property var chips: []

    spacing: 8

    Repeater {
        model: chipRow.chips

        Chip {
            objectName: "chip"
            required property var modelData
            required property int index
            Layout.preferredWidth: implicitWidth
            Layout.maximumWidth: implicitWidth
            Layout.minimumWidth: index === chipRow.chips.length - 1 ? 0 : implicitWidth
            text: modelData.text
            color: modelData.color
            icon: modelData.icon
        }
    }
}
