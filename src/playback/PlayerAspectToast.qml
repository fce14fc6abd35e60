import QtQuick
import Zelfor.Kit
import Zelfor.Playback

// The name of the picture mode just chosen, in a capsule with an accent rim.
Item {
    id: root

    required property PlayerScreenModel screen
    property string shownText: ""

    width: label.implicitWidth + 52
    height: label.implicitHeight + 28
    opacity: root.screen.picture.toastShown ? 1 : 0
    scale: root.screen.picture.toastShown ? 1 : 0.9
    visible: opacity > 0
    Behavior on opacity { Spring { response: 0.3 } }
    Behavior on scale { Spring { response: 0.3 } }

    // The last text stays while the capsule fades out.
    Connections {
        target: root.screen.picture
        function onToastChanged() {
            if (root.screen.picture.toastShown)
                root.shownText = root.screen.picture.toast
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Qt.rgba(0, 0, 0, 0.6)
    }

    GradientShape {
        anchors.fill: parent
        radius: height / 2
        borderWidth: 1
    }

    UiText {
        id: label
        objectName: "aspectToastText"
        anchors.centerIn: parent
        text: root.shownText
        color: "white"
        font.family: Theme.roundedFontFamily
        font.pixelSize: 22
        font.weight: Font.Bold
    }
}
