import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// One programme of the catch-up list: times, title, an "On now" or "Upcoming" chip and,
// when it can be replayed, the play symbol.
Item {
    id: row

    // start, end, title, description, onNow, upcoming, playable
    property var programme: ({})
    property bool focused: false
    property var action: null

    readonly property bool hover: hoverHandler.hovered

    implicitHeight: 64
    opacity: programme.playable || programme.onNow ? 1 : 0.45

    Rectangle {
        anchors.fill: parent
        radius: 13
        color: row.programme.onNow ? Theme.withOpacity(Theme.violet, 0.22) : Qt.rgba(1, 1, 1, row.hover ? 0.07 : 0.03)
        border.width: row.focused ? 0 : 1
        border.color: Qt.rgba(1, 1, 1, 0.05)
    }

    GradientShape {
        anchors.fill: parent
        radius: 13
        borderWidth: 2
        visible: row.focused
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        spacing: 14

        ColumnLayout {
            Layout.preferredWidth: 76
            spacing: 2

            UiText {
                text: row.programme.start
                color: row.programme.onNow ? Theme.cyanLight : "white"
                font.pixelSize: 15
                font.weight: Font.Bold
            }

            UiText {
                text: row.programme.end
                color: Theme.textDim
                font.pointSize: Theme.pointSize(11.5)
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 3

            UiText {
                Layout.fillWidth: true
                clip: true
                text: ProviderText.line(row.programme.title)
                color: "white"
                font.pointSize: Theme.pointSize(14.5)
                font.weight: Font.DemiBold
                maximumLineCount: 1
                elide: Text.ElideRight
            }

            UiText {
                Layout.fillWidth: true
                visible: !!row.programme.description
                text: row.programme.description || ""
                color: Theme.textDim
                font.pixelSize: 12
                maximumLineCount: 1
                elide: Text.ElideRight
            }
        }

        Chip {
            visible: row.programme.onNow || row.programme.upcoming
            text: Localized.text(row.programme.onNow ? "on_now" : "upcoming")
            color: row.programme.onNow ? Theme.red : Theme.textDim
        }

        AccentIcon {
            objectName: "playSymbol"
            visible: !!row.programme.playable
            name: "play.circle.fill"
            size: 22
            opacity: row.hover || row.focused ? 1 : 0.6
        }
    }

    HoverHandler {
        id: hoverHandler
    }

    MouseArea {
        anchors.fill: parent
        onClicked: if (row.action) row.action()
    }
}
