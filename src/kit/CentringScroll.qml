import QtQuick

// Brings an item of `target` (a ListView or GridView) to the middle of the view, moving
// from wherever the view stands; the animation's duration and easing give the feel.
NumberAnimation {
    id: scroll

    property: "contentY"

    function centre(index) {
        const from = target.contentY
        target.positionViewAtIndex(index, ListView.Center)
        const to = target.contentY
        target.contentY = from
        scroll.to = to
        scroll.restart()
    }
}
