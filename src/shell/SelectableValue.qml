import QtQuick
import Zelfor.Kit

// A one-line value that can be selected and copied with the pointer; it shrinks to
// 0.6 of its size to fit its width. `accent` paints it with the light accent gradient.
Item {
    id: root

    property string text
    property real size: 30
    property int weight: Font.Bold
    property real tracking: 0
    property bool accent: false

    readonly property real fittedSize: metrics.advanceWidth > width && metrics.advanceWidth > 0
        ? Math.max(0.6 * size, size * width / metrics.advanceWidth) : size

    implicitHeight: edit.implicitHeight
    clip: true

    TextMetrics {
        id: metrics
        font.family: "monospace"
        font.pixelSize: root.size
        font.weight: root.weight
        font.letterSpacing: root.tracking
        text: root.text
    }

    AccentText {
        anchors.fill: edit
        visible: root.accent
        text: root.text
        font: edit.font
    }

    TextEdit {
        id: edit
        width: parent.width
        text: root.text
        textFormat: TextEdit.PlainText
        readOnly: true
        selectByMouse: true
        selectionColor: Theme.selection
        selectedTextColor: "white"
        wrapMode: TextEdit.NoWrap
        color: root.accent ? "transparent" : "white"
        font.family: "monospace"
        font.pixelSize: root.fittedSize
        font.weight: root.weight
        font.letterSpacing: root.tracking * root.fittedSize / root.size
    }
}
