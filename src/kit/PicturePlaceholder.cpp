#include "PicturePlaceholder.h"

#include "PaintedShapes.h"
#include "RemotePicture.h"
#include "Theme.h"

#include <QFontMetricsF>
#include <QPainter>

PicturePlaceholder::PicturePlaceholder(QQuickItem *parent)
    : PaintedItem(parent)
    , m_initials(RemotePicture::initials(QString()))
{
}

template <typename T> void PicturePlaceholder::change(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    emit placeholderChanged();
    update();
}

void PicturePlaceholder::setTitle(const QString &title)
{
    m_initials = RemotePicture::initials(title);
    change(m_title, title);
}

void PicturePlaceholder::setFontSize(qreal size) { change(m_fontSize, size); }
void PicturePlaceholder::setRadius(qreal radius) { change(m_radius, radius); }
void PicturePlaceholder::setStrength(qreal strength) { change(m_strength, strength); }

void PicturePlaceholder::paint(QPainter *painter)
{
    const QRectF area(0, 0, width(), height());
    painter->fillPath(roundedShape(area, m_radius), gradientAcross({ Theme::raisedHover(), Theme::raised() }, area, true));

    QFont font(Theme::fontFamily());
    font.setPixelSize(std::max(1, qRound(m_fontSize)));
    font.setWeight(QFont::ExtraBold);
    const QFontMetricsF metrics(font);
    QRectF text(QPointF(0, 0), QSizeF(metrics.horizontalAdvance(m_initials), metrics.height()));
    text.moveCenter(area.center());
    painter->setOpacity(m_strength);
    painter->setFont(font);
    painter->setPen(QPen(QBrush(gradientAcross(Theme::accentLight(), text)), 0));
    painter->drawText(text, Qt::AlignCenter | Qt::TextSingleLine, m_initials);
}
