#include "ProviderText.h"

#include "app/BidiText.h"

namespace {

bool breaksLine(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == QChar(0x85)
        || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool opensIsolate(QChar::Direction direction)
{
    return direction == QChar::DirLRI || direction == QChar::DirRLI || direction == QChar::DirFSI;
}

// Embeddings, overrides and isolates: they reach past the text unless it is isolated.
bool directs(QChar::Direction direction)
{
    return opensIsolate(direction) || direction == QChar::DirLRE || direction == QChar::DirRLE
        || direction == QChar::DirLRO || direction == QChar::DirRLO || direction == QChar::DirPDF;
}

} // namespace

QString shownLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    bool directed = false;
    int openIsolates = 0;
    for (const QChar c : text) {
        const QChar::Direction direction = c.direction();
        if (breaksLine(c)) {
            line += u' ';
        } else if (direction == QChar::DirPDI) {
            // A closing isolate without its opening one would end the isolate around the line.
            if (openIsolates > 0) {
                --openIsolates;
                line += c;
            }
        } else if (c.category() != QChar::Other_Control) {
            openIsolates += opensIsolate(direction) ? 1 : 0;
            directed = directed || directs(direction);
            line += c;
        }
    }
    // Plain text keeps its exact characters, so what is selected and copied is the value.
    return directed ? isolated(line) : line;
}
