import QtQuick
import QtQuick.Controls
import Zelfor.Kit

// A round symbol button that opens a list of texts above it; a click on an entry
// reports its position.
CircleButton {
    id: root

    property var entries: []
    readonly property bool open: menu.visible
    signal chosen(int entry)

    size: 44
    action: () => menu.opened ? menu.close() : menu.open()

    MenuKeys {
        id: keys
        active: menu.opened
        entries: root.entries.map(() => true)
        onCloseRequested: menu.close()
        onChosen: entry => {
            menu.close()
            root.chosen(entry)
        }
    }

    Popup {
        id: menu
        objectName: "trackPopup"
        // Over any tooltip.
        z: 10
        y: -height - 10
        x: (root.width - width) / 2
        padding: 8
        width: 220
        closePolicy: Popup.CloseOnPressOutside

        background: Rectangle {
            radius: 14
            color: Theme.surface
            border.width: 1
            border.color: Qt.rgba(1, 1, 1, 0.1)
        }

        contentItem: Column {
            spacing: 2

            Repeater {
                model: root.entries

                delegate: Rectangle {
                    id: entry
                    objectName: "trackEntry"
                    required property int index
                    required property string modelData

                    width: menu.availableWidth
                    height: 34
                    radius: 8
                    color: keys.current === entry.index ? Theme.raisedHover : "transparent"

                    UiText {
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        anchors.leftMargin: 12
                        anchors.rightMargin: 12
                        text: entry.modelData
                        color: "white"
                        font.pixelSize: 13
                        elide: Text.ElideRight
                        maximumLineCount: 1
                    }

                    MouseArea {
                        id: entryPointer
                        anchors.fill: parent
                        hoverEnabled: true
                        onContainsMouseChanged: if (containsMouse) keys.current = entry.index
                        onClicked: {
                            menu.close()
                            root.chosen(entry.index)
                        }
                    }
                }
            }
        }
    }
}
