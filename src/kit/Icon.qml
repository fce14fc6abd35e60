import QtQuick
import Zelfor.Kit

// A symbol drawn from the icon font; an unknown name draws nothing.
Text {
    property string name
    property real size: 16

    font.family: IconTable.fontFamily
    font.pixelSize: size
    text: IconTable.glyph(name)
    color: "white"
    textFormat: Text.PlainText
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
}
