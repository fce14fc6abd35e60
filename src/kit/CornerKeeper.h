#pragma once

#include <QQuickItem>
#include <QtQml/qqmlregistration.h>
#include <memory>

struct KeptPixels;

// Clips what is drawn between two keepers to their rounded rectangle under the software
// renderer, whose scene graph clips only to rectangles: the first keeper saves the pixels
// under the shape's box before its later siblings draw, the second (whose `from` names the
// first) puts them back outside the shape, its edge antialiased. Both draw nothing with
// other renderers, which clip with a layer instead.
class CornerKeeper : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY keeperChanged)
    Q_PROPERTY(CornerKeeper *from READ from WRITE setFrom NOTIFY keeperChanged)

public:
    explicit CornerKeeper(QQuickItem *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    CornerKeeper *from() const { return m_from; }
    void setFrom(CornerKeeper *from);

signals:
    void keeperChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *node, UpdatePaintNodeData *data) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    qreal m_radius = 0;
    CornerKeeper *m_from = nullptr;
    std::shared_ptr<KeptPixels> m_kept;
};
