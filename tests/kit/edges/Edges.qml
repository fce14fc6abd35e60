import QtQuick
import Zelfor.Kit

// Edges that clipping, scaling and mirroring can spoil, each on a plain fill.
Rectangle {
    id: root

    property var dialogModel: null

    width: 1000
    height: 520
    color: Theme.bg

    ChoiceDialogView {
        width: 500
        height: parent.height
        model: root.dialogModel
    }

    // Grown as a focused poster grows.
    Card {
        objectName: "grownCard"
        x: 540
        y: 40
        width: 160
        height: 90
        radius: 14
        focused: true
        hoverScale: 1.04
    }

    Row {
        x: 540
        y: 180
        spacing: 20
        LayoutMirroring.enabled: true
        LayoutMirroring.childrenInherit: true

        Card {
            objectName: "mirroredCard"
            width: 160
            height: 90
            focused: true
        }

        ResumeStrip {
            objectName: "mirroredStrip"
            width: 160
            height: 90
            radius: 11
            progress: 0.25
        }
    }

    ChannelRow {
        objectName: "channelRow"
        x: 540
        y: 320
        width: 420
        name: "Canal+"; logo: ""; num: 1; catchupDays: 0
        favorite: false; playing: false; equalizer: false; focused: false
    }
}
