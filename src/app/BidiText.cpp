#include "BidiText.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr char16_t kLeftToRightIsolate = 0x2066;
constexpr char16_t kRightToLeftIsolate = 0x2067;
constexpr char16_t kFirstStrongIsolate = 0x2068;
constexpr char16_t kPopDirectionalIsolate = 0x2069;
constexpr char16_t kRightToLeftMark = 0x200F;

}

QString isolated(const QString &value)
{
    if (value.isEmpty())
        return value;
    return QChar(kFirstStrongIsolate) + value + QChar(kPopDirectionalIsolate);
}

QString labelled(const QString &label, const QString &value, const QString &separator)
{
    return label + separator + isolated(value);
}

QString isolatedItems(const QString &line, bool rightToLeft, const QString &separator)
{
    const QChar open(rightToLeft ? kRightToLeftIsolate : kLeftToRightIsolate);
    QStringList items = line.split(separator);
    for (QString &item : items)
        item = open + QString(item).replace(QLatin1Char(' '), QChar::Nbsp) + QChar(kPopDirectionalIsolate);
    // Isolates do not set the line's direction: a mark does.
    return (rightToLeft ? QString(QChar(kRightToLeftMark)) : QString()) + items.join(separator);
}

QString readingRightToLeft(const QString &line)
{
    int isolateDepth = 0; // what an isolate holds does not set the line's direction
    for (const QChar c : line) {
        switch (c.direction()) {
        case QChar::DirLRI:
        case QChar::DirRLI:
        case QChar::DirFSI:
            ++isolateDepth;
            break;
        case QChar::DirPDI:
            isolateDepth = std::max(0, isolateDepth - 1);
            break;
        case QChar::DirL:
            if (isolateDepth == 0)
                return QChar(kRightToLeftMark) + line;
            break;
        case QChar::DirR:
        case QChar::DirAL:
            if (isolateDepth == 0)
                return line;
            break;
        default:
            break;
        }
    }
    return line;
}
