import QtQuick
import Zelfor.Kit

// A symbol drawn from the icon font, its glyph scaled to a common optical size; an
// unknown name draws nothing.
Text {
    property string name
    property real size: 16

    font.family: IconTable.fontFamily
    font.pixelSize: Math.round(size * IconTable.scale(name))
    text: IconTable.glyph(name)
    color: "white"
    textFormat: Text.PlainText
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
}
