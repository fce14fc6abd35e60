import QtQuick
import Zelfor.Kit

// A spinner above a short text, in the middle of the area it fills.
Item {
    id: root

    property string text

    Column {
        anchors.centerIn: parent
        width: parent.width
        spacing: 16

        Spinner {
            anchors.horizontalCenter: parent.horizontalCenter
            size: 34
        }

        UiText {
            width: parent.width
            text: root.text
            color: Theme.textDim
            font.pixelSize: 14
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
        }
    }
}
