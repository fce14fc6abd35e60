import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zelfor.Kit

// One line of a channel list; as a delegate of a content list the model's roles fill it.
// `num` 0 shows no number, `catchupDays` above 0 marks an archive.
Item {
    id: root

    required property string name
    required property string logo
    required property int num
    required property int catchupDays
    required property bool favorite
    required property bool playing
    required property bool focused
    property var action: null
    property var doubleAction: null

    readonly property bool hover: hoverHandler.hovered

    implicitWidth: 360
    implicitHeight: 56

    Rectangle {
        anchors.fill: parent
        radius: 13
        visible: !root.playing
        color: Qt.rgba(1, 1, 1, root.hover ? 0.07 : 0.03)
    }

    GradientShape {
        anchors.fill: parent
        radius: 13
        visible: root.playing
        from: Theme.withOpacity(Theme.violet, 0.38)
        to: Theme.withOpacity(Theme.cyan, 0.12)
    }

    Rectangle {
        anchors.fill: parent
        radius: 13
        visible: !root.focused
        color: "transparent"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, root.hover ? 0.12 : 0.05)
    }

    GradientShape {
        anchors.fill: parent
        radius: 13
        borderWidth: 2
        visible: root.focused
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        spacing: 12

        UiText {
            Layout.preferredWidth: 40
            horizontalAlignment: Text.AlignRight
            text: root.num > 0 ? String(root.num) : ""
            color: Theme.textDim
            font.pixelSize: 13
            font.weight: Font.DemiBold
        }

        Rectangle {
            Layout.preferredWidth: 62 + 2 * 3
            Layout.preferredHeight: 38 + 2 * 3
            radius: 9
            color: Theme.raised

            RemoteImage {
                anchors.fill: parent
                anchors.margins: 3
                url: root.logo
                title: root.name
                fill: false
                fontSize: 13
            }
        }

        UiText {
            Layout.fillWidth: true
            text: root.name
            color: "white"
            font.pixelSize: 14
            font.weight: root.playing ? Font.DemiBold : Font.Medium
            maximumLineCount: 1
            elide: Text.ElideRight
        }

        // The name takes the free width; at least this much stays before what follows.
        Item {
            Layout.preferredWidth: 6
        }

        Icon {
            visible: root.catchupDays > 0
            name: "clock.arrow.circlepath"
            size: 12
            font.weight: Font.DemiBold
            color: Theme.cyan
            opacity: 0.85
            ToolTip.visible: catchupHover.hovered
            ToolTip.text: Localized.text("catch_up")
            ToolTip.delay: 600

            HoverHandler {
                id: catchupHover
            }
        }

        Icon {
            visible: root.favorite
            name: "heart.fill"
            size: 12
            color: Theme.pink
        }

        EqualizerIcon {
            visible: root.playing
            Layout.preferredWidth: 16
            Layout.preferredHeight: 14
        }
    }

    HoverHandler {
        id: hoverHandler
    }

    MouseArea {
        anchors.fill: parent
        onClicked: tapRule.click()
    }

    TapRule {
        id: tapRule
        doubleEnabled: !!root.doubleAction
        onSingleTap: if (root.action) root.action()
        onDoubleTap: if (root.doubleAction) root.doubleAction()
    }
}
