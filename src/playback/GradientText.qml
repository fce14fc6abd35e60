import QtQuick
import Zelfor.Kit

// A line of text painted with the light accent gradient.
AccentText {
    property int pixelSize: 15
    property int weight: Font.Bold

    font.family: Theme.fontFamily
    font.pixelSize: pixelSize
    font.weight: weight
}
