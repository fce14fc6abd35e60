import QtQuick
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// A remote picture in a rounded frame with a thin light border and a drop shadow.
// Without shader effects the corners stay square.
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
        target: frame
        color: Qt.rgba(0, 0, 0, root.shadowOpacity)
        blur: root.shadowBlur
        offsetY: root.shadowOffset
        shapeRadius: root.radius
    }

    Rectangle {
        id: clipShape
        anchors.fill: parent
        radius: root.radius
        visible: false
    }

    Item {
        id: frame
        anchors.fill: parent
        layer.enabled: GraphicsInfo.api !== GraphicsInfo.Software
        layer.smooth: true
        layer.effect: OpacityMask { maskSource: clipShape }

        RemoteImage {
            anchors.fill: parent
            url: root.url
            title: root.title
            fill: true
            fontSize: root.fontSize
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.12)
    }
}
