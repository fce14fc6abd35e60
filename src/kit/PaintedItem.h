#pragma once

#include <QQmlProperty>
#include <QQuickPaintedItem>

// The base of the kit's painted items. They paint smooth: `antialiasing` is on, so the
// painter comes with antialiased shapes and text. An item narrower or lower than a pixel
// (a progress fill at its start, a frame growing from nothing) still paints into a
// one-pixel texture: the default texture would round to nothing and every paint would fail
// with warnings. Items that paint from the leading edge follow the layout's mirroring.
class PaintedItem : public QQuickPaintedItem {
    Q_OBJECT

public:
    explicit PaintedItem(QQuickItem *parent = nullptr);

protected:
    // Stores `value` in `member` and repaints; false when `member` held it already.
    template <typename T> bool repaintWith(T &member, const T &value)
    {
        if (member == value)
            return false;
        member = value;
        update();
        return true;
    }

    // Paints at one `divisor`-th of the item's size, scaled up when drawn: for smooth
    // gradients, which look the same with far fewer pixels to paint and upload.
    void setSoft(int divisor);

    // Repaints whenever the item's layout mirroring (LayoutMirroring, inherited or its
    // own) changes; `mirrored()` then tells that the leading edge is the right one.
    void followMirroring() { m_followsMirroring = true; }
    bool mirrored() const { return m_mirrored; }

    // The node of an item that shows one picture over its whole area, shared by every item
    // of the same `look` in the window and painted by paint() the first time; none while
    // the item rounds to nothing. For updatePaintNode.
    QSGNode *sharedNode(QSGNode *old, const QByteArray &look);

    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void componentComplete() override;

private slots:
    void readMirroring();

private:
    void updateTextureSize();

    int m_softDivisor = 1;
    bool m_followsMirroring = false;
    bool m_mirrored = false;
    QQmlProperty m_mirroring;
};
