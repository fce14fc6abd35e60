import QtQuick
import QtQuick.Controls
import Zelfor.Kit
import Zelfor.Live

// The category column: pseudo categories first, then the playlist's own.
ColumnPanel {
    id: column

    required property LiveScreenModel screen

    ListView {
        id: list
        objectName: "categoryList"
        anchors.fill: parent
        anchors.margins: 8
        clip: true
        spacing: 4
        model: column.screen.categories
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        delegate: CategoryRow {
            required property int index
            required name
            required count
            required icon
            required selected
            required focused

            width: ListView.view.width
            action: () => column.screen.selectCategory(index)
        }
    }

    Connections {
        target: column.screen
        function onCategoryScrollRequested(row) { list.positionViewAtIndex(row, ListView.Center) }
    }
}
