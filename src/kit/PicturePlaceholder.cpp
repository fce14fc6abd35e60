#include "PicturePlaceholder.h"

#include "PaintedShapes.h"
#include "RemotePicture.h"
#include "SharedPicture.h"
#include "SharedTextureNode.h"
#include "Theme.h"

#include <QHash>
#include <QPainter>

// One font per size and thread, so that its fallback fonts are looked up once.
QFont PicturePlaceholder::initialsFont(qreal size)
{
    thread_local QHash<int, QFont> fonts;
    const int pixels = std::max(1, qRound(size));
    auto found = fonts.constFind(pixels);
    if (found == fonts.cend()) {
        QFont font(Theme::roundedFontFamily());
        font.setPixelSize(pixels);
        font.setWeight(QFont::ExtraBold);
        found = fonts.insert(pixels, font);
    }
    return *found;
}

PicturePlaceholder::PicturePlaceholder(QQuickItem *parent)
    : PaintedItem(parent)
    , m_initials(RemotePicture::initials(QString()))
{
    followMirroring();
    measureInitials();
}

void PicturePlaceholder::setTitle(const QString &title)
{
    if (!repaintWith(m_title, title))
        return;
    m_initials = RemotePicture::initials(title);
    measureInitials();
    emit placeholderChanged();
}

void PicturePlaceholder::setFontSize(qreal size)
{
    if (!repaintWith(m_fontSize, size))
        return;
    measureInitials();
    emit placeholderChanged();
}

void PicturePlaceholder::setRadius(qreal radius)
{
    if (repaintWith(m_radius, radius))
        emit placeholderChanged();
}

void PicturePlaceholder::setStrength(qreal strength)
{
    if (repaintWith(m_strength, strength))
        emit placeholderChanged();
}

void PicturePlaceholder::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    PaintedItem::geometryChange(newGeometry, oldGeometry);
    placeInitials();
}

// Measured and shaped here, on the item's thread, so the render thread only paints what it
// lacks, with fonts already found.
void PicturePlaceholder::measureInitials()
{
    m_initialsGlyphs = CentredGlyphs(m_initials, initialsFont(m_fontSize));
    m_initialsArea.setSize(m_initialsGlyphs.size());
    placeInitials();
}

void PicturePlaceholder::placeInitials()
{
    m_initialsArea.moveCenter(QRectF(0, 0, width(), height()).center());
    m_initialsPixels = m_initialsArea.toAlignedRect() & QRect(QPoint(0, 0), size().toSize());
}

QSGNode *PicturePlaceholder::updatePaintNode(QSGNode *old, UpdatePaintNodeData *)
{
    QSGNode *node = sharedNode(
        old, lookOf(QByteArrayLiteral("PicturePlaceholder"), width(), height(), mirrored(), m_radius));
    if (!node)
        return nullptr;
    auto *initials = static_cast<SharedTextureNode *>(node->firstChild());
    if (m_initialsPixels.isEmpty()) {
        delete initials;
        return node;
    }
    if (!initials) {
        initials = new SharedTextureNode;
        node->appendChildNode(initials);
    }
    const QPointF offset = -QPointF(m_initialsPixels.topLeft());
    initials->show(window(),
        lookOf(QByteArrayLiteral("Initials"), m_initials, m_fontSize, m_strength, mirrored(),
            m_initialsArea.translated(offset)),
        m_initialsPixels, [this, offset](QPainter *painter) {
            painter->translate(offset);
            paintInitials(painter);
        });
    return node;
}

void PicturePlaceholder::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    painter->fillPath(roundedShape(area, m_radius),
        gradientAcross({ Theme::raisedHover(), Theme::raised() }, area, true, mirrored()));
}

void PicturePlaceholder::paintInitials(QPainter *painter) const
{
    painter->setOpacity(m_strength);
    painter->setPen(QPen(QBrush(gradientAcross(Theme::accentLight(), m_initialsArea, false, mirrored())), 0));
    m_initialsGlyphs.draw(painter, m_initialsArea);
}
