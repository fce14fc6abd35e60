import QtQuick
import QtQuick.Controls
import Zelfor.Kit

// One card of the continue-watching row: the picture with a live badge or the share already
// watched, the title and the subtitle. A right click offers to dismiss it.
Card {
    id: root

    required property string title
    required property string subtitle
    required property string logo
    required property bool live
    // Share watched, 0...1; below 0 when there is no resume point.
    required property real progress
    property var dismissAction: null

    width: 190
    height: 130
    radius: 14
    hoverScale: 1.05
    fill: Theme.surface

    Item {
        id: picture
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: 88

        Rectangle {
            anchors.fill: parent
            color: Theme.raised
        }

        RemoteImage {
            anchors.fill: parent
            url: root.logo
            title: root.title
            fill: !root.live
            fontSize: 20
        }

        Rectangle {
            anchors.fill: parent
            gradient: Gradient {
                GradientStop { position: 0; color: "transparent" }
                GradientStop { position: 1; color: Qt.rgba(0, 0, 0, 0.55) }
            }
        }

        Chip {
            anchors.left: parent.left
            anchors.top: parent.top
            anchors.margins: 6
            visible: root.live
            text: Localized.text("live_badge")
            color: Theme.red
        }

        Icon {
            anchors.centerIn: parent
            visible: root.focused
            name: "play.circle.fill"
            size: 34
        }

        Item {
            objectName: "resumeBar"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: 3
            visible: root.progress >= 0

            Rectangle {
                anchors.fill: parent
                color: Qt.rgba(0, 0, 0, 0.5)
            }

            Rectangle {
                anchors.left: parent.left
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                width: Math.max(0, root.progress) * parent.width
                color: Theme.cyan
            }
        }
    }

    Column {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: picture.bottom
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        anchors.topMargin: 7

        UiText {
            width: parent.width
            text: root.title
            color: "white"
            font.pointSize: Theme.pointSize(12.5)
            font.weight: Font.DemiBold
            maximumLineCount: 1
            elide: Text.ElideRight
        }

        UiText {
            width: parent.width
            text: root.subtitle
            color: Theme.textDim
            font.pixelSize: 11
            maximumLineCount: 1
            elide: Text.ElideRight
        }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.RightButton
        onClicked: menu.popup()
    }

    AppMenu {
        id: menu
        objectName: "dismissMenu"

        AppMenuItem {
            objectName: "dismissItem"
            text: Localized.text("dismiss")
            onTriggered: if (root.dismissAction) root.dismissAction()
        }
    }
}
