import QtQuick

// A vertical scroller of tiles that glides just far enough to show a tile whole, with
// `margin` around it.
Flickable {
    id: scroller

    property real margin: 0

    clip: true
    contentWidth: width
    boundsBehavior: Flickable.StopAtBounds

    Behavior on contentY { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }

    // `tile` is an item inside the content; nothing happens without one.
    function reveal(tile) {
        if (!tile)
            return
        const top = tile.mapToItem(contentItem, 0, 0).y - margin
        const bottom = top + tile.height + 2 * margin
        if (top < contentY)
            contentY = Math.max(0, top)
        else if (bottom > contentY + height)
            contentY = Math.min(bottom - height, Math.max(0, contentHeight - height))
    }
}
