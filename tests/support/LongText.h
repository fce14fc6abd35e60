#pragma once

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

// A text longer than `limit` UTF-8 bytes (UTF-16 units with `inUtf16`) whose bound falls
// inside a character: `prefix` then copies of the multi-unit `character`; `kept` is its
// start that a cut at `limit` keeps, the characters before the split one.
struct LongText {
    QByteArray utf8;
    QString kept;
};

inline LongText longText(qsizetype limit, const char *prefix, const QString &character, bool inUtf16 = false)
{
    const QByteArray head(prefix);
    const qsizetype width = inUtf16 ? character.size() : character.toUtf8().size();
    const qsizetype whole = (limit - head.size()) / width;
    EXPECT_NE((limit - head.size()) % width, 0) << "the bound must split a character";
    return { head + character.repeated(whole + 8).toUtf8(),
        QString::fromUtf8(head) + character.repeated(whole) };
}
