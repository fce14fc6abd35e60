import QtQuick
import Zelfor.Kit

// A one-line value that can be selected and copied with the pointer; it shrinks to
// 0.6 of its size to fit its width, and is elided past that. `accent` paints it with the
// light accent gradient.
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

    // The value at its fitted size, cut to the width.
    TextMetrics {
        id: fitted
        font: edit.font
        text: root.text
        elide: Text.ElideRight
        elideWidth: root.width
    }

    AccentText {
        anchors.fill: edit
        visible: root.accent
        text: fitted.elidedText
        font: edit.font
    }

    TextEdit {
        id: edit
        objectName: "valueText"
        width: parent.width
        text: fitted.elidedText
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
