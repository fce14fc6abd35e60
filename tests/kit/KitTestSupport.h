#pragma once

#include "LoopbackServer.h"
#include "QmlHarness.h"
#include "app/Localization.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <cmath>

// A framed picture of one colour, encoded in the given format.
inline QByteArray pictureBytes(
    const QSize &size, const char *format, const QColor &color = QColor(200, 40, 90))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawRect(image.rect().adjusted(4, 4, -5, -5));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// `over` laid on `base` at `opacity`, rounded as an 8-bit pixel.
inline QColor blend(const QColor &base, const QColor &over, double opacity)
{
    const auto mix = [&](int b, int o) { return int(std::lround(b + (o - b) * opacity)); };
    return QColor(
        mix(base.red(), over.red()), mix(base.green(), over.green()), mix(base.blue(), over.blue()));
}

// Two pixels within 3 per channel.
inline bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3
        && std::abs(a.blue() - b.blue()) <= 3;
}

// The pixel of `image` that holds the scene point `at`.
inline QColor pixelAt(const QImage &image, QPointF at)
{
    return image.pixelColor(int(std::floor(at.x())), int(std::floor(at.y())));
}

inline LoopbackResponse picture(const QSize &size, const char *format = "PNG")
{
    return LoopbackResponse::file(pictureBytes(size, format), "image/*");
}

// Every item below `root` in the visual tree, depth first.
inline QList<QQuickItem *> itemsBelow(QQuickItem *root)
{
    QList<QQuickItem *> items;
    for (QQuickItem *child : root->childItems())
        items << child << itemsBelow(child);
    return items;
}

inline QQuickItem *itemNamed(QQuickItem *root, const QString &name)
{
    for (QQuickItem *item : itemsBelow(root)) {
        if (item->objectName() == name)
            return item;
    }
    return nullptr;
}

inline QPoint centreOf(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

// Sets the active language for its lifetime, then goes back to English.
struct LanguageScope {
    explicit LanguageScope(const QString &language) { setActiveLanguage(language); }
    ~LanguageScope() { setActiveLanguage(QStringLiteral("en")); }
};

// A shown window on a QML page (a qrc URL or a file of tests/kit), recording every
// warning raised while it lives.
class ShownPage {
public:
    explicit ShownPage(const QString &source, const QVariantMap &properties = {})
    {
        // The static modules' qmldir files live in the resources.
        m_view.engine()->addImportPath(QStringLiteral("qrc:/"));
        m_view.setResizeMode(QQuickView::SizeRootObjectToView);
        m_view.setInitialProperties(properties);
        m_view.setSource(source.startsWith(QLatin1String("qrc:"))
                ? QUrl(source)
                : QUrl::fromLocalFile(QStringLiteral(ZELFOR_SOURCE_DIR "/tests/kit/") + source));
        m_view.show();
        m_exposed = QTest::qWaitForWindowExposed(&m_view);
    }

    bool ready() const { return m_exposed && m_view.rootObject(); }
    QStringList problems() const
    {
        QStringList all = m_collector.warnings();
        for (const QQmlError &error : m_view.errors())
            all.append(error.toString());
        return all;
    }
    QQuickView &view() { return m_view; }
    QQuickItem *root() { return m_view.rootObject(); }
    QQuickItem *child(const QString &name) { return itemNamed(root(), name); }
    void click(QQuickItem *item) { QTest::mouseClick(&m_view, Qt::LeftButton, {}, centreOf(item)); }

private:
    WarningCollector m_collector;
    QQuickView m_view;
    bool m_exposed = false;
};
