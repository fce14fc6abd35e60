import QtQuick
import Zelfor.Kit

// A picture from the network over a placeholder that shows up to two initials
// of the title until the picture is there, or for good when there is none. The
// parent gives it its size.
Item {
    id: root

    property string url: ""
    property string title: ""
    // Fill the frame and crop the picture's edges, or fit the whole picture inside.
    property bool fill: false
    property real fontSize: 13

    readonly property bool loaded: picture.ready

    Item {
        anchors.fill: parent
        visible: picture.opacity < 1

        AccentGradient {
            anchors.fill: parent
            from: Theme.raisedHover
            to: Theme.raised
            diagonal: true
        }

        Item {
            objectName: "initials"
            anchors.centerIn: parent
            width: initials.implicitWidth
            height: initials.implicitHeight
            opacity: picture.done || root.url === "" ? 1 : 0.5

            UiText {
                id: initials
                visible: false
                text: picture.initials(root.title)
                font.pixelSize: root.fontSize
                font.weight: Font.ExtraBold
            }

            AccentGradient {
                anchors.fill: parent
                source: initials
                from: Theme.violetLight
                to: Theme.cyanLight
            }
        }
    }

    RemotePicture {
        id: picture
        anchors.fill: parent
        url: root.url
        fill: root.fill
        opacity: ready ? 1 : 0

        Behavior on opacity {
            enabled: picture.fades
            NumberAnimation { duration: 200; easing.type: Easing.OutQuad }
        }
    }
}
