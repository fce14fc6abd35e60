import QtQuick
import Zelfor.Kit

// A labelled line of provider text (director, cast); nothing without text. As high as
// the wrapped text, so what follows never covers its second line.
Item {
    id: root

    property string label
    property string text

    visible: text !== ""
    implicitHeight: Math.max(labelText.implicitHeight, valueText.implicitHeight)

    UiText {
        id: labelText
        anchors.left: parent.left
        anchors.top: parent.top
        width: 100
        text: root.label
        color: Theme.textDim
        font.pixelSize: 13
        font.weight: Font.DemiBold
        elide: Text.ElideRight
    }

    UiText {
        id: valueText
        objectName: "sectionText"
        anchors.left: labelText.right
        anchors.leftMargin: 8
        anchors.right: parent.right
        anchors.top: parent.top
        text: root.text
        color: Theme.text
        font.pixelSize: 13
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
    }
}
