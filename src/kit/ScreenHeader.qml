import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// A screen's title row: an optional back button, the title with an optional
// subtitle, then the trailing children at the far end.
Item {
    id: root

    property string title
    property string subtitle: ""
    property var backAction: null
    default property alias trailing: trailingSlot.data

    readonly property bool hasBack: !!backAction

    implicitWidth: row.implicitWidth
    implicitHeight: row.implicitHeight

    RowLayout {
        id: row
        anchors.fill: parent
        spacing: 14

        BackButton {
            objectName: "backButton"
            visible: root.hasBack
            action: root.backAction
        }

        Column {
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            spacing: 2

            UiText {
                width: parent.width
                text: root.title
                color: "white"
                font.pixelSize: 24
                font.weight: Font.Bold
                maximumLineCount: 1
                elide: Text.ElideRight
            }

            UiText {
                width: parent.width
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
