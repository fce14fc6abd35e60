import QtQuick
import Zelfor.Home
import Zelfor.Kit

// One content type's results: its heading with the count, then the cards side by side.
Column {
    id: row

    required property SearchScreenModel search
    required property int type

    readonly property ContentListModel results: search.results(type)
    readonly property bool channels: type === 0

    spacing: 12

    Row {
        anchors.left: parent.left
        spacing: 8

        SectionLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: row.search.rowTitle(row.type)
        }

        UiText {
            objectName: "resultCount"
            anchors.verticalCenter: parent.verticalCenter
            text: String(row.results ? row.results.count : 0)
            color: Theme.cyan
            font.pixelSize: 11
            font.weight: Font.Bold
        }
    }

    ListView {
        id: cards
        objectName: "resultCards"
        width: row.width
        height: (row.channels ? 140 : 140 * 3 / 2) + 2 * 8
        orientation: ListView.Horizontal
        spacing: 14
        leftMargin: 6
        rightMargin: 6
        topMargin: 8
        bottomMargin: 8
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: row.results
        delegate: row.channels ? channelCard : posterCard
        // The focused card is the model's focused row; a current index would chase rows
        // that move with an animation, keeping the window drawing after each keystroke.
        highlightFollowsCurrentItem: false
        currentIndex: -1

        Connections {
            target: row.search
            function onScrollRequested(type, index) {
                if (type === row.type)
                    cards.positionViewAtIndex(index, ListView.Center)
            }
        }
    }

    Component {
        id: channelCard

        ChannelTile {
            required property int index
            required focused
            width: 170
            height: 140
            radius: 16
            logoWidth: 120
            nameSize: 12.5
            action: () => row.search.open(row.type, index)
        }
    }

    Component {
        id: posterCard

        PosterCard {
            required property int index
            required focused
            width: 140
            action: () => row.search.open(row.type, index)
        }
    }
}
