import QtQuick
import QtQuick.Controls
import Zelfor.Kit

// One entry of an AppMenu: white text, a lighter row while highlighted.
MenuItem {
    id: item

    implicitHeight: 34
    leftPadding: 12
    rightPadding: 12

    contentItem: UiText {
        text: item.text
        color: "white"
        font.pixelSize: 13
        elide: Text.ElideRight
        maximumLineCount: 1
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        radius: 8
        color: item.highlighted ? Theme.raisedHover : "transparent"
    }
}
