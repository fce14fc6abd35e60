import QtQuick
import Zelfor.Kit

// A channel row and a filter field that count what reaches their owner.
Item {
    id: root

    property int singles: 0
    property int doubles: 0
    property string filterText: ""
    property var edits: []
    // Kept upper-cased by its owner.
    property string strictText: ""

    width: 420
    height: 170

    ChannelRow {
        objectName: "row"
        width: 400
        name: "BBC One"
        logo: ""
        num: 1
        catchupDays: 0
        favorite: false
        playing: false
        equalizer: false
        focused: false
        action: () => root.singles++
        doubleAction: () => root.doubles++
    }

    FilterField {
        objectName: "filter"
        y: 70
        width: 300
        text: root.filterText
        placeholder: "Filter"
        onEdited: (text) => {
            root.edits = root.edits.concat([text])
            root.filterText = text
        }
    }

    FilterField {
        objectName: "strictFilter"
        y: 120
        width: 300
        text: root.strictText
        onEdited: (text) => root.strictText = text.toUpperCase()
    }
}
