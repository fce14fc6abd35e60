#pragma once

#include <QByteArray>
#include <QSGSimpleTextureNode>
#include <functional>
#include <memory>

class QQuickWindow;

// A node that shows the shared picture of a look: every node of one look in a window shows
// one texture, uploaded once and released with the last node that shows it. Lives on the
// render thread, as nodes do.
class SharedTextureNode : public QSGSimpleTextureNode {
public:
    SharedTextureNode();

    // Shows `look` over `area` (in points) of its item: painted by `paintLook` into a
    // picture of the area's size at the window's pixel ratio, unless the look is shown or
    // kept already.
    void show(QQuickWindow *window, const QByteArray &look, const QRectF &area,
        const std::function<void(QPainter *)> &paintLook);

private:
    std::shared_ptr<QSGTexture> m_shown;
};
