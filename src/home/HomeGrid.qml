import QtQuick
import Zelfor.Home
import Zelfor.Kit

// The live tile, the four smaller tiles in two rows and the action column. Spacing and the
// size factor of the tiles follow the height available.
Item {
    id: root

    required property HomeScreenModel screen

    readonly property real sp: screen.gridSpacing(height)
    readonly property real s: screen.sizeFactor(height)
    readonly property real shared: width - 2 * sp
    readonly property real middleWidth: shared * 0.42
    readonly property real cellWidth: (middleWidth - sp) / 2
    readonly property real cellHeight: (height - sp) / 2

    Row {
        anchors.fill: parent
        spacing: root.sp

        LiveHeroTile {
            objectName: "tile_live"
            width: root.shared * 0.36
            height: root.height
            label: Localized.text("live_tv")
            count: root.screen.liveCount
            s: root.s
            focused: root.screen.focus === "live"
            action: () => root.screen.activate("live")
        }

        Grid {
            columns: 2
            spacing: root.sp

            HomeTile {
                objectName: "tile_movies"
                width: root.cellWidth
                height: root.cellHeight
                icon: "film.fill"
                label: Localized.text("movies")
                sub: root.screen.movieCount
                accent: "#EC4899"
                s: root.s
                focused: root.screen.focus === "movies"
                action: () => root.screen.activate("movies")
            }

            HomeTile {
                objectName: "tile_series"
                width: root.cellWidth
                height: root.cellHeight
                icon: "play.rectangle.on.rectangle.fill"
                label: Localized.text("series")
                sub: root.screen.seriesCount
                accent: "#06B6D4"
                s: root.s
                focused: root.screen.focus === "series"
                action: () => root.screen.activate("series")
            }

            HomeTile {
                objectName: "tile_account"
                width: root.cellWidth
                height: root.cellHeight
                icon: "person.crop.circle.fill"
                label: Localized.text("account")
                sub2: root.screen.deviceAddress
                accent: "#22C55E"
                s: root.s
                focused: root.screen.focus === "account"
                action: () => root.screen.activate("account")
            }

            HomeTile {
                objectName: "tile_playlist"
                width: root.cellWidth
                height: root.cellHeight
                icon: "list.bullet.rectangle.portrait.fill"
                label: Localized.text("switch_playlist")
                sub: root.screen.playlistName
                sub2: root.screen.playlistsLine
                accent: "#8B5CF6"
                s: root.s
                focused: root.screen.focus === "playlist"
                action: () => root.screen.activate("playlist")
            }
        }

        Column {
            id: actions
            width: root.width - root.shared * 0.36 - root.middleWidth - 2 * root.sp
            spacing: 0.7 * root.sp

            Repeater {
                model: root.screen.actions

                ActionButton {
                    required property var modelData
                    objectName: "action_" + modelData.id
                    width: actions.width
                    height: (root.height - 4 * actions.spacing) / 5
                    icon: modelData.icon
                    label: modelData.label
                    accent: modelData.accent
                    s: root.s
                    focused: root.screen.focus === modelData.id
                    action: () => root.screen.activate(modelData.id)
                }
            }
        }
    }
}
