#include "DemoImages.h"

#include <QBuffer>
#include <QColor>
#include <QCryptographicHash>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace DemoImages {

namespace {

int hueOf(const QString &title)
{
    const QByteArray hash = QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1);
    return (quint8(hash[0]) * 256 + quint8(hash[1])) % 360;
}

QFont boldFont(int pixelSize)
{
    QFont font(QStringLiteral("Noto Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Bold);
    return font;
}

void paintBackground(QPainter &painter, Kind kind, const QRect &area, int hue)
{
    QLinearGradient gradient(area.topLeft(), kind == Kind::backdrop ? area.topRight() : area.bottomLeft());
    gradient.setColorAt(0, QColor::fromHsv(hue, 170, 210));
    gradient.setColorAt(1, QColor::fromHsv((hue + 50) % 360, 200, 90));
    if (kind == Kind::logo) {
        QPainterPath rounded;
        rounded.addRoundedRect(area, area.width() * 0.22, area.height() * 0.22);
        painter.fillPath(rounded, gradient);
    } else {
        painter.fillRect(area, gradient);
    }
}

// Only the initials: the views that show a picture draw its title themselves.
void paintInitials(QPainter &painter, Kind kind, const QRect &area, const QString &title)
{
    painter.setPen(Qt::white);
    if (kind == Kind::logo) {
        painter.setFont(boldFont(area.height() * 2 / 5));
    } else {
        painter.setOpacity(0.25);
        painter.setFont(boldFont(area.height() / 3));
    }
    painter.drawText(area, Qt::AlignCenter, initials(title));
}

} // namespace

QSize sizeOf(Kind kind)
{
    switch (kind) {
    case Kind::logo:
        return { 256, 256 };
    case Kind::poster:
        return { 400, 600 };
    case Kind::backdrop:
        return { 1280, 720 };
    }
    return {};
}

QString initials(const QString &title)
{
    QString letters;
    for (const QString &word : title.split(u' ', Qt::SkipEmptyParts)) {
        if (letters.size() == 2)
            break;
        letters += word.front().toUpper();
    }
    return letters;
}

QByteArray png(Kind kind, const QString &title)
{
    QImage image(sizeOf(kind), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paintBackground(painter, kind, image.rect(), hueOf(title));
        paintInitials(painter, kind, image.rect(), title);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace DemoImages
