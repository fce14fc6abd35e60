import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// A support contact with its symbol; hidden while the text is empty.
RowLayout {
    id: line

    property string text
    property string icon
    property color color: Theme.cyan

    visible: text !== ""
    spacing: 8

    Icon {
        name: line.icon
        size: 14
        color: line.color
    }
    UiText {
        objectName: "valueText"
        Layout.fillWidth: true
        text: line.text
        color: line.color
        font.pixelSize: 14
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
    }
}
