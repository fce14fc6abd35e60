import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// The capsule field that filters a list by name, or takes any other short text. The text
// belongs to the screen: it binds `text` and takes every change from `edited`; each change
// of `text` reaches the field. The screen gives and takes keyboard focus with edit() and
// stopEditing() and reads `editing`; a click anywhere on the capsule starts editing.
Item {
    id: root

    property string text: ""
    property string placeholder: ""
    property string icon: "line.3.horizontal.decrease"
    readonly property bool editing: field.activeFocus

    signal edited(string text)

    // Moves the keyboard into the field.
    function edit() {
        field.forceActiveFocus()
    }

    // Takes the keyboard away from the field.
    function stopEditing() {
        field.focus = false
    }

    // Shows `value` in place of what was typed; the field follows `text` again afterwards.
    function show(value) {
        field.text = value
    }

    implicitWidth: 260
    implicitHeight: 38
    height: 38

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.raised

        Hairline {
            radius: parent.radius
            border.color: Qt.rgba(1, 1, 1, 0.08)
        }
    }

    MouseArea {
        anchors.fill: parent
        onPressed: root.edit()
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: 8

        Icon {
            name: root.icon
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
            onTextEdited: root.edited(text)

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
                onTapped: {
                    field.text = ""
                    root.edited("")
                }
            }
        }
    }

    // Every change of the screen's text reaches the field; typing or show() does not undo this.
    Binding {
        target: field
        property: "text"
        value: root.text
    }
}
