import QtQuick
import Zelfor.Kit

// A remote picture with rounded corners, a thin light border and a drop shadow.
Item {
    id: root

    property string url
    property string title
    property real radius: 18
    property real fontSize: 30
    property real shadowOpacity: 0.5
    property real shadowBlur: 20
    property real shadowOffset: 10

    Shadow {
        target: picture
        color: Qt.rgba(0, 0, 0, root.shadowOpacity)
        blur: root.shadowBlur
        offsetY: root.shadowOffset
        shapeRadius: root.radius
    }

    RemoteImage {
        id: picture
        anchors.fill: parent
        url: root.url
        title: root.title
        fill: true
        fontSize: root.fontSize
        radius: root.radius
    }

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.12)
    }
}
