import QtQuick
import Zelfor.Kit

// A labelled line of provider text (director, cast); nothing without text.
Row {
    id: root

    property string label
    property string text

    visible: text !== ""
    spacing: 8

    UiText {
        width: 100
        text: root.label
        color: Theme.textDim
        font.pixelSize: 13
        font.weight: Font.DemiBold
        elide: Text.ElideRight
    }

    UiText {
        width: root.width - 108
        text: root.text
        color: Theme.text
        font.pixelSize: 13
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
    }
}
