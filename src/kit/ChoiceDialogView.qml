import QtQuick
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Kit

// The modal list of options over a dark scrim. Keys, focus and choosing live in
// the controller; a click on the scrim, Cancel, Esc or a choice closes it.
Item {
    id: root

    property ChoiceDialogModel model
    // False while a closed dialog fades out: it takes no keys and no clicks.
    property bool open: model !== null
    readonly property int focusIndex: controller.focus

    enabled: open

    ChoiceDialogController {
        id: controller
        model: root.model
        active: root.open && root.visible && root.model !== null
    }

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.55)

        MouseArea {
            anchors.fill: parent
            onClicked: controller.dismiss()
        }
    }

    Shadow {
        target: panel
        color: "black"
        opacity: 0.5
        blur: 40
        offsetY: 20
        shapeRadius: panel.radius
    }

    Rectangle {
        id: panel
        objectName: "dialogPanel"

        // What the panel holds besides the options: margins, title, cancel row and spacing.
        readonly property real chrome: 48 + title.height + cancelRow.height + 2 * content.spacing

        anchors.centerIn: parent
        width: 440
        height: chrome + options.height
        radius: 24
        color: Theme.surface

        // Clicks inside the panel but off a row or button do nothing.
        MouseArea {
            anchors.fill: parent
        }

        Column {
            id: content
            anchors.fill: parent
            anchors.margins: 24
            spacing: 14

            UiText {
                id: title
                width: parent.width
                text: root.model ? root.model.title : ""
                color: "white"
                font.family: Theme.roundedFontFamily
                font.pixelSize: 20
                font.weight: Font.Bold
                wrapMode: Text.Wrap
            }

            // Scrolls when the options do not fit the window; keys keep the focused one in view.
            ListView {
                id: options
                objectName: "options"
                width: parent.width
                height: Math.min(contentHeight, Math.max(46, root.height - 40 - panel.chrome))
                spacing: 8
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                interactive: contentHeight > height
                model: root.model ? root.model.options : []
                currentIndex: controller.focus
                onCurrentIndexChanged: positionViewAtIndex(currentIndex, ListView.Contain)

                delegate: ChoiceRow {
                    objectName: "choiceRow"
                    required property int index
                    required property string modelData

                    width: ListView.view.width
                    text: modelData
                    focused: index === controller.focus
                    selected: root.model !== null && index === root.model.selected
                    action: () => controller.choose(index)
                }
            }

            Item {
                id: cancelRow
                width: parent.width
                height: cancel.height + 4

                PillButton {
                    id: cancel
                    objectName: "cancelButton"
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    title: Localized.text("cancel")
                    primary: false
                    focused: false
                    height: 42
                    action: () => controller.dismiss()
                }
            }
        }

        Hairline {
            radius: panel.radius
            border.color: Qt.rgba(1, 1, 1, 0.1)
        }
    }
}
