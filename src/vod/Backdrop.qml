import QtQuick
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// The blurred picture behind a details screen, darkened towards the bottom and the
// trailing side so that text stays readable. Without shader effects the picture is
// drawn unblurred.
Item {
    id: root

    property bool hasUrl: false
    property string url: ""

    readonly property bool plain: GraphicsInfo.api === GraphicsInfo.Software

    Item {
        anchors.fill: parent
        visible: root.hasUrl
        opacity: 0.55

        RemoteImage {
            id: picture
            anchors.fill: parent
            visible: root.plain
            url: root.url
            title: ""
            fill: true
            fontSize: 18
        }

        FastBlur {
            anchors.fill: parent
            visible: !root.plain
            source: picture
            radius: 30
        }
    }

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.withOpacity(Theme.bg, 0.55) }
            GradientStop { position: 0.5; color: Theme.withOpacity(Theme.bg, 0.92) }
            GradientStop { position: 1; color: Theme.bg }
        }
    }

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: Theme.withOpacity(Theme.bg, Localized.rightToLeft() ? 0 : 0.9) }
            GradientStop { position: 1; color: Theme.withOpacity(Theme.bg, Localized.rightToLeft() ? 0.9 : 0) }
        }
    }
}
