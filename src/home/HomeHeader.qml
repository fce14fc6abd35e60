import QtQuick
import Zelfor.Kit

// The home screen's top row: the brand at the leading edge, the clock and day in the middle,
// the offline chip and the provider account's status at the trailing edge.
Item {
    id: root

    property string clockText
    property string dayText
    property bool offline: false
    property string status: ""
    property color statusColor: Theme.text

    height: 56

    // The brand reads left to right in every language but sits at the leading edge.
    Item {
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: brand.implicitWidth
        height: brand.implicitHeight

        BrandTitle {
            id: brand
            markSize: 40
            fontSize: 27
        }
    }

    Row {
        anchors.centerIn: parent
        spacing: 12

        ClockText {
            objectName: "clock"
            anchors.verticalCenter: parent.verticalCenter
            text: root.clockText
            color: "white"
            font.pixelSize: 28
            font.weight: Font.Bold
        }

        GradientShape {
            anchors.verticalCenter: parent.verticalCenter
            width: 5
            height: 5
            radius: 2.5
            diagonal: true
        }

        UiText {
            objectName: "day"
            anchors.verticalCenter: parent.verticalCenter
            text: root.dayText
            color: Theme.textDim
            font.pixelSize: 14
        }
    }

    Row {
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        Chip {
            objectName: "offlineChip"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.offline
            text: Localized.text("offline")
            color: Theme.amber
            icon: "wifi.slash"
        }

        Rectangle {
            objectName: "status"
            anchors.verticalCenter: parent.verticalCenter
            visible: root.status !== ""
            width: statusRow.implicitWidth + 26
            height: statusRow.implicitHeight + 14
            radius: height / 2
            color: Qt.rgba(1, 1, 1, 0.06)
            border.width: 1
            border.color: Qt.rgba(1, 1, 1, 0.1)

            Row {
                id: statusRow
                anchors.centerIn: parent
                spacing: 7

                Icon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "clock.fill"
                    size: 12
                    color: root.statusColor
                }

                UiText {
                    anchors.verticalCenter: parent.verticalCenter
                    text: root.status
                    color: root.statusColor
                    font.pointSize: Theme.pointSize(12.5)
                    font.weight: Font.DemiBold
                }
            }
        }
    }
}
