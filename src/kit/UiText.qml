import QtQuick
import Zelfor.Kit

// Interface text: the UI font, always plain text.
Text {
    font.family: Theme.fontFamily
    color: Theme.text
    textFormat: Text.PlainText
}
