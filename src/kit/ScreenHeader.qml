import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// A screen's title row: an optional back button, the title with an optional
// subtitle, then the trailing children at the far end. Its height is that of its
// tallest part, whatever width it has when it is made.
Item {
    id: root

    property string title
    property string subtitle: ""
    property var backAction: null
    default property alias trailing: trailingSlot.data

    readonly property bool hasBack: !!backAction

    implicitWidth: row.implicitWidth
    implicitHeight: Math.max(hasBack ? back.size : 0, titleBlock.implicitHeight, trailingSlot.implicitHeight)

    RowLayout {
        id: row
        anchors.fill: parent
        spacing: 14

        BackButton {
            id: back
            objectName: "backButton"
            visible: root.hasBack
            action: root.backAction
        }

        // Sized from its texts' own heights, so a zero width never collapses it.
        Item {
            id: titleBlock
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            implicitWidth: Math.max(titleText.implicitWidth, subtitleText.implicitWidth)
            implicitHeight: titleText.implicitHeight + (subtitleText.visible ? 2 + subtitleText.implicitHeight : 0)

            UiText {
                id: titleText
                objectName: "title"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                text: root.title
                color: "white"
                font.family: Theme.roundedFontFamily
                font.pixelSize: 24
                font.weight: Font.Bold
                maximumLineCount: 1
                elide: Text.ElideRight
            }

            UiText {
                id: subtitleText
                objectName: "subtitle"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: titleText.bottom
                anchors.topMargin: 2
                visible: root.subtitle !== ""
                text: root.subtitle
                color: Theme.textDim
                font.pixelSize: 13
                maximumLineCount: 1
                elide: Text.ElideRight
            }
        }

        Item {
            Layout.minimumWidth: 12
            Layout.preferredWidth: 12
        }

        Row {
            id: trailingSlot
            Layout.alignment: Qt.AlignVCenter
            spacing: 10
        }
    }
}
