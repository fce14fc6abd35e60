import QtQuick
import Zelfor.Kit

// A small upper-case caption above a group of items; callers pass normal case.
Item {
    id: root

    property string text
    readonly property string shownText: text.toUpperCase()
    readonly property real tracking: Localized.language() === "ar" ? 0 : 1.6

    implicitWidth: label.implicitWidth
    implicitHeight: label.implicitHeight

    UiText {
        id: label
        anchors.fill: parent
        text: root.shownText
        color: Theme.textDim
        font.pixelSize: 11
        font.weight: Font.Bold
        font.letterSpacing: root.tracking
        maximumLineCount: 1
    }
}
