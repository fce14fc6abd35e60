import QtQuick
import Zelfor.Kit

// A test's stand-in screen: its route's title, and the back button while there is a
// screen beneath.
Item {
    id: root

    required property QtObject screen

    ScreenHeader {
        objectName: "header"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        title: screen.title
        backAction: screen.canGoBack ? () => screen.back() : null
    }

    BrandMark {
        anchors.centerIn: parent
        size: 96
        opacity: 0.25
    }
}
