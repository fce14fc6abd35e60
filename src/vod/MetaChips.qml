import QtQuick
import Zelfor.Kit

// A row of meta chips; `chips` holds maps of text, color and icon.
Row {
    property var chips: []

    spacing: 8

    Repeater {
        model: parent.chips

        Chip {
            objectName: "chip"
            required property var modelData
            anchors.verticalCenter: parent.verticalCenter
            text: modelData.text
            color: modelData.color
            icon: modelData.icon
        }
    }
}
