#include "ScriptFonts.h"

#include "PicturePlaceholder.h"
#include "Theme.h"

#include <QCoreApplication>
#include <QFont>
#include <QTextLayout>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <array>
#include <memory>
#include <vector>

namespace {

// The fonts of a channel row (ChannelRow.qml): its name's and its logo placeholder's
// initials'. Kept for the run, so that the font cache of the main thread keeps the fallback
// fonts they found.
const std::vector<QFont> &rowFonts()
{
    static const std::vector<QFont> fonts = [] {
        QFont name(Theme::fontFamily());
        name.setPixelSize(14);
        name.setWeight(QFont::Medium);
        return std::vector<QFont> { name, PicturePlaceholder::initialsFont(13) };
    }();
    return fonts;
}

void layOut(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    layout.glyphRuns();
}

// Lays each sample out in the row fonts, one per turn of the event loop, so that no frame
// waits for all of them.
void layOutInTurns(std::shared_ptr<const QStringList> samples, qsizetype next = 0)
{
    if (next >= samples->size())
        return;
    for (const QFont &font : rowFonts())
        layOut(samples->at(next), font);
    QTimer::singleShot(0, qApp, [samples = std::move(samples), next] { layOutInTurns(samples, next + 1); });
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
        QMetaObject::invokeMethod(qApp, [samples] {
            layOutInTurns(std::make_shared<const QStringList>(samples.split(u' ', Qt::SkipEmptyParts)));
        });
    });
}
