import QtQuick
import Zelfor.Kit

// A line of text painted with the light accent gradient; in its first colour where the
// renderer has no shader effects.
Item {
    id: root

    property string text
    property int pixelSize: 15
    property int weight: Font.Bold

    readonly property bool plain: GraphicsInfo.api === GraphicsInfo.Software

    implicitWidth: label.implicitWidth
    implicitHeight: label.implicitHeight
    width: implicitWidth
    height: implicitHeight

    UiText {
        id: label
        visible: root.plain
        text: root.text
        color: Theme.violetLight
        font.pixelSize: root.pixelSize
        font.weight: root.weight
    }

    AccentGradient {
        anchors.fill: parent
        visible: !root.plain
        source: label
        from: Theme.violetLight
        to: Theme.cyanLight
    }
}
