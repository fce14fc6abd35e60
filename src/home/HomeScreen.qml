import QtQuick
import QtQuick.Layouts
import Zelfor.Home
import Zelfor.Kit

// The home screen: header, banners, the tile grid beside the action column, the
// continue-watching row on tall windows and the footer. Nothing shows without an active
// playlist; the view-model then goes back to the start route.
Item {
    id: root

    required property HomeScreenModel screen

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        visible: screen.ready
        spacing: 0

        HomeHeader {
            Layout.fillWidth: true
            Layout.preferredHeight: 56
            Layout.bottomMargin: 18
            clockText: screen.clockText
            dayText: screen.dayText
            offline: screen.offline
            status: screen.accountStatus
            statusColor: screen.accountStatusColor
        }

        HomeBanner {
            objectName: "noticeBanner"
            Layout.fillWidth: true
            Layout.bottomMargin: 14
            visible: screen.visibleNotice !== ""
            icon: "megaphone.fill"
            iconColor: Theme.cyan
            tint: Theme.violet
            text: screen.visibleNotice
            action: () => screen.dismissNotice()
        }

        HomeBanner {
            objectName: "errorBanner"
            Layout.fillWidth: true
            Layout.bottomMargin: 14
            visible: screen.loadError !== ""
            icon: "exclamationmark.triangle.fill"
            iconColor: Theme.red
            tint: Theme.red
            text: screen.loadError
            buttonTitle: Localized.text("retry")
            action: () => screen.retry()
        }

        HomeBanner {
            objectName: "updateBanner"
            Layout.fillWidth: true
            Layout.bottomMargin: 14
            visible: screen.updateText !== ""
            icon: "arrow.down.circle.fill"
            iconColor: Theme.cyan
            tint: Theme.cyan
            text: screen.updateText
            buttonTitle: Localized.text("open_site")
            action: () => screen.openSite()
        }

        HomeGrid {
            Layout.fillWidth: true
            Layout.fillHeight: true
            screen: root.screen
        }

        HomeRecents {
            objectName: "recents"
            Layout.fillWidth: true
            Layout.topMargin: 20
            visible: screen.showsRecents(root.height - 60, screen.recentCount)
            screen: root.screen
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 14

            UiText {
                text: "MAC  " + screen.deviceAddress
                color: Theme.textDim
                opacity: 0.8
                font.family: "monospace"
                font.pointSize: Theme.pointSize(11.5)
                font.weight: Font.Medium
            }

            Item { Layout.fillWidth: true }

            UiText {
                text: Localized.items("keyboard_desc")
                color: Theme.textDim
                opacity: 0.6
                font.pointSize: Theme.pointSize(11.5)
            }

            Item { Layout.fillWidth: true }

            UiText {
                text: "v" + screen.version
                color: Theme.textDim
                opacity: 0.8
                font.pointSize: Theme.pointSize(11.5)
            }
        }
    }
}
