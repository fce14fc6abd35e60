#include "ScriptFonts.h"

#include "Theme.h"

#include <QFont>
#include <QTextLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <array>

namespace {

void layOut(const QString &text, const QString &family)
{
    QTextLayout layout(text, QFont(family));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    layout.glyphRuns();
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
            layOut(samples, family);
    });
}
