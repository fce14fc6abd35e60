import QtQuick
import Zelfor.Kit

// A picture from the network over a placeholder that shows up to two initials of the
// title until the picture is there, or for good when there is none. The parent gives it
// its size; `radius` rounds its corners.
Item {
    id: root

    property string url: ""
    property string title: ""
    // Fill the frame and crop the picture's edges, or fit the whole picture inside.
    property bool fill: false
    property real fontSize: 13
    property real radius: 0

    readonly property bool loaded: picture.ready

    PicturePlaceholder {
        objectName: "placeholder"
        anchors.fill: parent
        visible: picture.opacity < 1
        title: root.title
        fontSize: root.fontSize
        radius: root.radius
        // Faint while a picture is on its way.
        strength: picture.done || root.url === "" ? 1 : 0.5
    }

    RemotePicture {
        id: picture
        anchors.fill: parent
        url: root.url
        fill: root.fill
        radius: root.radius
    }
}
