import QtQuick
import QtQuick.Layouts
import Zelfor.Home
import Zelfor.Kit

// The settings screen: the header and the grid of setting tiles.
Item {
    id: root

    required property SettingsScreenModel screen

    Connections {
        target: screen
        function onFocusChanged() {
            scroller.reveal(tiles.itemAt(screen.focus))
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        spacing: 20

        ScreenHeader {
            objectName: "header"
            Layout.fillWidth: true
            title: Localized.text("settings")
            subtitle: screen.subtitle
            backAction: screen.canGoBack ? () => screen.back() : null
        }

        TileScroller {
            id: scroller
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentHeight: grid.height + 16
            margin: 8
            onWidthChanged: screen.measure(width)
            Component.onCompleted: screen.measure(width)

            Grid {
                id: grid
                x: 8
                y: 8
                width: scroller.width - 16
                columns: screen.columns
                spacing: GridMetrics.settingSpacing

                Repeater {
                    id: tiles
                    model: screen.tiles

                    SettingTile {
                        required property int index
                        required property var modelData
                        objectName: "setting_" + modelData.id
                        width: (grid.width - (grid.columns - 1) * grid.spacing) / grid.columns
                        accent: modelData.accent
                        icon: modelData.icon
                        title: modelData.title
                        subtitle: modelData.subtitle
                        trailing: modelData.trailing
                        trailingColor: modelData.trailingColor
                        focused: index === screen.focus
                        action: () => screen.runTile(modelData.id)
                    }
                }
            }
        }
    }
}
