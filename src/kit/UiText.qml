import QtQuick
import Zelfor.Kit

// Interface text: the UI font, always plain text. Aligned to the leading edge, so
// that it mirrors with the layout whatever the script of the text.
Text {
    horizontalAlignment: Text.AlignLeft
    font.family: Theme.fontFamily
    color: Theme.text
    textFormat: Text.PlainText
}
