import QtQuick
import Zelfor.Kit

// The short message shown for a moment over every screen: the brand mark and at
// most two lines of text in a dark capsule with an accent rim.
Item {
    id: root

    property string text
    // The widest the toast may grow; longer texts wrap, then get cut.
    property real maximumWidth: parent ? parent.width - 48 : 640
    readonly property bool truncated: message.truncated

    readonly property real textRoom: Math.max(0, maximumWidth - 36 - 28)
    width: row.width + 36
    height: row.height + 22

    Shadow {
        target: capsule
        color: "black"
        opacity: 0.45
        blur: 18
        offsetY: 8
        shapeRadius: capsule.radius
    }

    Rectangle {
        id: capsule
        anchors.fill: parent
        radius: height / 2
        color: Theme.withOpacity(Theme.raised, 0.96)
    }

    GradientShape {
        anchors.fill: parent
        radius: capsule.radius
        borderWidth: 1
        opacity: 0.7
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 10

        BrandMark {
            anchors.verticalCenter: parent.verticalCenter
            size: 18
        }

        UiText {
            id: message
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, root.textRoom)
            text: root.text
            color: "white"
            font.pointSize: Theme.pointSize(13.5)
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
        }
    }
}
