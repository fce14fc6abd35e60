import QtQuick
import Zelfor.App
import Zelfor.Kit

// The screen of a route whose own screen is not built yet: its title, and the back
// button while there is a screen beneath.
Item {
    id: root

    property bool isTop: true
    property string entryId

    PlaceholderScreenModel {
        id: screen
        active: root.isTop
        entryId: root.entryId
    }

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
