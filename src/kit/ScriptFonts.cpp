#include "ScriptFonts.h"

#include "PicturePlaceholder.h"
#include "Theme.h"

#include <QCoreApplication>
#include <QTextLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <array>

namespace {

void layOut(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    layout.glyphRuns();
}

// The fonts of a channel row (ChannelRow.qml): its name's and its logo placeholder's
// initials'. Kept for the run, so that the font cache of the main thread keeps the fallback
// fonts they found.
FontWarmer &rowFontWarmer()
{
    static FontWarmer *const warmer = [] {
        QFont name(Theme::fontFamily());
        name.setPixelSize(14);
        name.setWeight(QFont::Medium);
        return new FontWarmer({ name, PicturePlaceholder::initialsFont(13) }, qApp);
    }();
    return *warmer;
}

} // namespace

QString scriptSamples(const MediaItems &items)
{
    std::array<char32_t, QChar::ScriptCount> samples {};
    char32_t symbol = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString name = items.name(i);
        for (const char32_t point : QStringView(name).toUcs4()) {
            const QChar::Script script = QChar::script(point);
            if (script > QChar::Script_Latin && !samples[script])
                samples[script] = point;
            else if (!symbol && QChar::category(point) == QChar::Symbol_Other)
                symbol = point;
        }
    }
    QString text;
    for (const char32_t point : samples) {
        if (point)
            text += QString::fromUcs4(&point, 1) + u' ';
    }
    if (symbol)
        text += QString::fromUcs4(&symbol, 1);
    return text;
}

void warmScriptFonts(const SectionPtr &section)
{
    (void)QtConcurrent::run([section] {
        const QString samples = scriptSamples(section->all);
        for (const QString &family : { Theme::fontFamily(), Theme::roundedFontFamily() })
            layOut(samples, QFont(family));
        // The font caches are per thread: the rows are laid out on the main one.
        QMetaObject::invokeMethod(qApp, [samples] { rowFontWarmer().add(samples); });
    });
}

FontWarmer::FontWarmer(QList<QFont> fonts, QObject *parent)
    : QObject(parent)
    , m_fonts(std::move(fonts))
{
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &FontWarmer::layOutNext);
}

void FontWarmer::add(const QString &samples)
{
    for (const QString &sample : samples.split(u' ', Qt::SkipEmptyParts)) {
        if (!m_queued.contains(sample)) {
            m_queued.insert(sample);
            m_queue.append(sample);
        }
    }
    if (!m_queue.isEmpty())
        m_next.start();
}

void FontWarmer::layOutNext()
{
    const QString sample = m_queue.takeFirst();
    for (const QFont &font : m_fonts)
        layOut(sample, font);
    if (m_queue.isEmpty())
        m_next.stop();
}
