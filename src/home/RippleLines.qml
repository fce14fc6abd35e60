import QtQuick

// The three wave lines across the live tile, at 30 %, 39 % and 48 % of its height; each
// starts and ends outside the tile so the card's edge cuts it.
Canvas {
    id: root

    onWidthChanged: requestPaint()
    onHeightChanged: requestPaint()

    onPaint: {
        const ctx = getContext("2d")
        const w = width
        const h = height
        ctx.reset()
        ctx.lineWidth = 2.5
        ctx.lineCap = "round"
        ctx.lineJoin = "miter"
        ctx.miterLimit = 10
        const opacities = [0.16, 0.10, 0.06]
        for (let i = 0; i < 3; ++i) {
            const y = (0.3 + 0.09 * i) * h
            const a = 0.035 * h
            ctx.strokeStyle = Qt.rgba(1, 1, 1, opacities[i])
            ctx.beginPath()
            ctx.moveTo(-0.05 * w, y)
            ctx.bezierCurveTo(0.25 * w, y - 2 * a, 0.45 * w, y + 2 * a, 0.7 * w, y)
            ctx.bezierCurveTo(0.85 * w, y - 1.4 * a, 0.95 * w, y - a, 1.05 * w, y - 0.4 * a)
            ctx.stroke()
        }
    }
}
