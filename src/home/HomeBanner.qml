import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// One banner above the home grid: a symbol, a plain-text message and either a text button
// or, without one, a close button.
Rectangle {
    id: root

    property string icon
    property color iconColor: Theme.cyan
    property color tint: Theme.violet
    property string text
    property string buttonTitle: ""
    property var action: null

    implicitHeight: row.implicitHeight + 14
    radius: 16
    color: Theme.withOpacity(tint, 0.12)
    border.width: 1
    border.color: Theme.withOpacity(tint, 0.4)

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 8
        anchors.topMargin: 7
        anchors.bottomMargin: 7
        spacing: 12

        Icon {
            name: root.icon
            size: 15
            color: root.iconColor
        }

        UiText {
            objectName: "message"
            Layout.fillWidth: true
            text: root.text
            font.pointSize: Theme.pointSize(13.5)
            maximumLineCount: 2
            wrapMode: Text.Wrap
            elide: Text.ElideRight
        }

        PillButton {
            objectName: "button"
            visible: root.buttonTitle !== ""
            title: root.buttonTitle
            height: 30
            action: root.action
        }

        CircleButton {
            objectName: "closeButton"
            visible: root.buttonTitle === ""
            icon: "xmark"
            size: 28
            tint: Theme.textDim
            help: Localized.text("dismiss")
            action: root.action
        }
    }
}
