#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The QR code of the text's UTF-8 bytes at error correction level M, black modules on
// white, 10 pixels per module and no quiet zone; nothing when the text cannot be encoded.
std::optional<QImage> qrCodeImage(const QString &text);

// Draws qrCodeImage(text) stretched over the item, without smoothing between modules.
class QrCodeItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(bool hasCode READ hasCode NOTIFY textChanged)

public:
    static constexpr int kModulePixels = 10;

    explicit QrCodeItem(QQuickItem *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    bool hasCode() const { return !m_image.isNull(); }

    void paint(QPainter *painter) override;

signals:
    void textChanged();

private:
    QString m_text;
    QImage m_image;
};
