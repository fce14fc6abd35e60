import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// The capsule field that filters a list by name. The text belongs to the screen: it
// binds `text` and takes every change from `edited`; whatever the screen keeps is what
// the field shows. The screen gives and takes keyboard focus with startEditing() and
// stopEditing() and reads `editing`; a click anywhere on the capsule starts editing.
Item {
    id: root

    property string text: ""
    property string placeholder: ""
    readonly property bool editing: field.activeFocus

    signal edited(string text)

    function startEditing() {
        field.forceActiveFocus()
    }

    function stopEditing() {
        field.focus = false
    }

    // Tells the screen, then shows what the screen kept.
    function write(text) {
        root.edited(text)
        if (field.text !== root.text)
            field.text = root.text
    }

    implicitWidth: 260
    implicitHeight: 38
    height: 38

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.raised
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.08)
    }

    MouseArea {
        anchors.fill: parent
        onPressed: root.startEditing()
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: 8

        Icon {
            name: "line.3.horizontal.decrease"
            size: 12
            font.weight: Font.DemiBold
            color: Theme.textDim
        }

        TextInput {
            id: field
            Layout.fillWidth: true
            color: "white"
            font.family: Theme.fontFamily
            font.pixelSize: 13
            clip: true
            selectByMouse: true
            selectionColor: Theme.selection
            selectedTextColor: "white"
            onTextEdited: root.write(text)

            UiText {
                anchors.fill: parent
                verticalAlignment: Text.AlignVCenter
                visible: field.text === ""
                text: root.placeholder
                color: Theme.textDim
                font.pixelSize: 13
                elide: Text.ElideRight
            }
        }

        Icon {
            objectName: "clearButton"
            visible: field.text !== ""
            name: "xmark.circle.fill"
            size: 14
            color: Theme.textDim

            TapHandler {
                onTapped: root.write("")
            }
        }
    }

    // The screen's later changes reach the field; typing does not undo this.
    Binding {
        target: field
        property: "text"
        value: root.text
    }
}
