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
            // It reaches into the panel's side margins, so a focused option grown past its
            // width keeps its border and glow there, and clips only while it scrolls.
            ListView {
                id: options
                objectName: "options"

                readonly property real bleed: content.anchors.margins

                x: -bleed
                width: parent.width + 2 * bleed
                height: Math.min(contentHeight, Math.max(46, root.height - 40 - panel.chrome))
                spacing: 8
                clip: interactive
                boundsBehavior: Flickable.StopAtBounds
                interactive: contentHeight > height
                model: root.model ? root.model.options : []
                currentIndex: controller.focus
                onCurrentIndexChanged: positionViewAtIndex(currentIndex, ListView.Contain)

                delegate: Item {
                    id: option
                    required property int index
                    required property string modelData

                    width: ListView.view.width
                    height: row.height

                    ChoiceRow {
                        id: row
                        objectName: "choiceRow"
                        anchors.left: parent.left
                        anchors.right: parent.right
                        anchors.margins: options.bleed
                        text: option.modelData
                        focused: option.index === controller.focus
                        selected: root.model !== null && option.index === root.model.selected
                        action: () => controller.choose(option.index)
                    }
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
