#include "PicturePlaceholder.h"

#include "PaintedShapes.h"
#include "RemotePicture.h"
#include "SharedPicture.h"
#include "Theme.h"

#include <QFontMetricsF>
#include <QPainter>

PicturePlaceholder::PicturePlaceholder(QQuickItem *parent)
    : PaintedItem(parent)
    , m_initials(RemotePicture::initials(QString()))
{
    followMirroring();
}

void PicturePlaceholder::setTitle(const QString &title)
{
    if (!repaintWith(m_title, title))
        return;
    m_initials = RemotePicture::initials(title);
    emit placeholderChanged();
}

void PicturePlaceholder::setFontSize(qreal size)
{
    if (repaintWith(m_fontSize, size))
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

void PicturePlaceholder::paint(QPainter *painter)
{
    paintShared(painter,
        lookOf(QByteArrayLiteral("PicturePlaceholder"), width(), height(), mirrored(), m_initials, m_fontSize,
            m_radius, m_strength),
        [this](QPainter *own) { paintLook(own); });
}

void PicturePlaceholder::paintLook(QPainter *painter) const
{
    const QRectF area(0, 0, width(), height());
    painter->fillPath(roundedShape(area, m_radius),
        gradientAcross({ Theme::raisedHover(), Theme::raised() }, area, true, mirrored()));

    QFont font(Theme::roundedFontFamily());
    font.setPixelSize(std::max(1, qRound(m_fontSize)));
    font.setWeight(QFont::ExtraBold);
    const QFontMetricsF metrics(font);
    QRectF text(QPointF(0, 0), QSizeF(metrics.horizontalAdvance(m_initials), metrics.height()));
    text.moveCenter(area.center());
    painter->setOpacity(m_strength);
    painter->setFont(font);
    painter->setPen(QPen(QBrush(gradientAcross(Theme::accentLight(), text, false, mirrored())), 0));
    painter->drawText(text, Qt::AlignCenter | Qt::TextSingleLine, m_initials);
}
