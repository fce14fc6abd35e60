import QtQuick
import Zelfor.Kit

// A symbol of the icon font filled with the light accent gradient.
AccentText {
    property string name
    property real size: 16

    text: IconTable.glyph(name)
    font.family: IconTable.fontFamily
    font.pixelSize: Math.round(size * IconTable.scale(name))
}
