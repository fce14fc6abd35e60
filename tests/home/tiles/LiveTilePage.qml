import QtQuick
import Zelfor.Home

// The live TV tile alone, in either direction.
Rectangle {
    property bool rightToLeft: false

    width: 600
    height: 400
    color: "black"
    LayoutMirroring.enabled: rightToLeft
    LayoutMirroring.childrenInherit: true

    LiveHeroTile {
        objectName: "tile"
        anchors.fill: parent
        label: "Live TV"
        count: "12 channels"
    }
}
