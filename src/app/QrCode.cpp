#include "QrCode.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

std::optional<QImage> qrCodeImage(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return std::nullopt;
    const auto data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(bytes.size()), data, 0, QR_ECLEVEL_M), &QRcode_free);
    if (!code)
        return std::nullopt;

    const int modules = code->width;
    const int side = modules * QrCodeItem::kModulePixels;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int row = 0; row < modules; ++row) {
        for (int column = 0; column < modules; ++column) {
            // Bit 0 of each module byte marks a dark module.
            if (code->data[row * modules + column] & 1) {
                painter.fillRect(column * QrCodeItem::kModulePixels, row * QrCodeItem::kModulePixels,
                    QrCodeItem::kModulePixels, QrCodeItem::kModulePixels, Qt::black);
            }
        }
    }
    return image;
}

QrCodeItem::QrCodeItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(false);
    setSmooth(false);
}

void QrCodeItem::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    m_image = qrCodeImage(text).value_or(QImage());
    emit textChanged();
    update();
}

void QrCodeItem::paint(QPainter *painter)
{
    if (m_image.isNull())
        return;
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(boundingRect(), m_image);
}
