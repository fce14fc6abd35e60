import QtQuick
import Zelfor.Kit

// The "live" capsule with a slowly pulsing dot.
Item {
    id: root

    readonly property real tracking: Localized.language() === "ar" ? 0 : 1

    implicitWidth: row.implicitWidth + 18
    implicitHeight: row.implicitHeight + 8
    width: implicitWidth
    height: implicitHeight

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Qt.rgba(0, 0, 0, 0.35)
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 6

        Rectangle {
            id: dot
            anchors.verticalCenter: parent.verticalCenter
            width: 7
            height: 7
            radius: 3.5
            color: Qt.rgba(1, 77 / 255, 109 / 255, 1)
            opacity: pulse.value

            LivePulse {
                id: pulse
                objectName: "livePulse"
                item: dot
            }
        }

        UiText {
            anchors.verticalCenter: parent.verticalCenter
            text: Localized.text("live_badge")
            color: "white"
            font.pointSize: Theme.pointSize(10.5)
            font.weight: Font.ExtraBold
            font.letterSpacing: root.tracking
        }
    }
}
