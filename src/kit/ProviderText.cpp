#include "ProviderText.h"

#include "app/BidiText.h"

namespace {

bool breaksLine(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == QChar(0x85)
        || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString shownLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (breaksLine(c))
            line += u' ';
        else if (c.category() != QChar::Other_Control)
            line += c;
    }
    return isolated(line);
}
