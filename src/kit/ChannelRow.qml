import QtQuick
import Zelfor.Kit

// One line of a channel list; as a delegate of a content list the model's roles fill it.
// The playing row is filled and shows the equaliser while `equalizer` (its playback has not
// failed).
// `num` 0 shows no number, `catchupDays` above 0 marks an archive. Marks and gradients
// are made only while shown, so a long list pages cheaply.
Item {
    id: root

    required property string name
    required property string logo
    required property int num
    required property int catchupDays
    required property bool favorite
    required property bool playing
    required property bool equalizer
    required property bool focused
    property var action: null
    property var doubleAction: null

    readonly property bool hover: pointer.hovered

    implicitWidth: 360
    implicitHeight: 56

    Rectangle {
        anchors.fill: parent
        radius: 13
        // White at 0.07 while hovered, else 0.03; the gradient replaces it while playing.
        color: root.playing ? "transparent" : root.hover ? "#12ffffff" : "#08ffffff"
    }

    Loader {
        anchors.fill: parent
        active: root.playing
        sourceComponent: GradientShape {
            radius: 13
            colors: [Theme.withOpacity(Theme.violet, 0.38), Theme.withOpacity(Theme.cyan, 0.12)]
        }
    }

    FocusFrame {
        anchors.fill: parent
        radius: 13
        amount: root.focused ? 1 : 0
        // White at 0.12 while hovered, else 0.05.
        hairline: root.hover ? "#1fffffff" : "#0dffffff"
    }

    UiText {
        id: number
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        width: 40
        horizontalAlignment: Text.AlignRight
        text: root.num > 0 ? String(root.num) : ""
        color: Theme.textDim
        font.pointSize: Theme.pointSize(12.5)
        font.weight: Font.DemiBold
    }

    Rectangle {
        id: logoFrame
        anchors.left: number.right
        anchors.leftMargin: 12
        anchors.verticalCenter: parent.verticalCenter
        width: 62 + 2 * 3
        height: 38 + 2 * 3
        radius: 9
        color: Theme.raised

        // Square: the frame's rounded corners lie outside it.
        RemoteImage {
            objectName: "logo"
            anchors.fill: parent
            anchors.margins: 3
            url: root.logo
            title: root.name
            fill: false
            fontSize: 13
        }
    }

    UiText {
        anchors.left: logoFrame.right
        anchors.leftMargin: 12
        anchors.right: marks.left
        // The name takes the free width; the stack's spacing on both sides of a flexible
        // space of at least 6 stays before the marks (only the first without marks).
        anchors.rightMargin: marks.width > 0 ? 12 + 6 + 12 : 12 + 6
        anchors.verticalCenter: parent.verticalCenter
        objectName: "rowName"
        // Clipped, so that a stack of combining marks stays inside the row.
        clip: true
        text: ProviderText.line(root.name)
        color: "white"
        font.pixelSize: 14
        font.weight: root.playing ? Font.DemiBold : Font.Medium
        maximumLineCount: 1
        elide: Text.ElideRight
    }

    Row {
        id: marks
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        spacing: 12

        Loader {
            anchors.verticalCenter: parent.verticalCenter
            active: root.catchupDays > 0
            sourceComponent: Icon {
                id: catchupMark
                objectName: "catchupMark"
                name: "clock.arrow.circlepath"
                size: 12
                font.weight: Font.DemiBold
                color: Theme.cyan
                opacity: 0.85

                HoverHandler {
                    id: catchupHover
                }

                // Made only while the pointer rests on the mark.
                Loader {
                    active: catchupHover.hovered
                    sourceComponent: HelpTip {
                        parent: catchupMark
                        shown: true
                        text: Localized.text("catch_up")
                    }
                }
            }
        }

        Loader {
            anchors.verticalCenter: parent.verticalCenter
            active: root.favorite
            sourceComponent: Icon {
                name: "heart.fill"
                size: 12
                color: Theme.pink
            }
        }

        Loader {
            anchors.verticalCenter: parent.verticalCenter
            active: root.equalizer
            sourceComponent: EqualizerIcon {
                width: 16
                height: 14
            }
        }
    }

    TapArea {
        id: pointer
        anchors.fill: parent
        action: root.action
        doubleAction: root.doubleAction
    }
}
