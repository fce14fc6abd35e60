#include "sources/M3uText.h"
#include "sources/TextBlocks.h"

#include <QList>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Packed texts read exactly as the plain decoding, broken bytes and marks included, and
// end in a terminator as every QString does.
TEST(TextBlocks, DecodesLikeThePlainDecoding)
{
    const QByteArray cases[] = {
        "", "Rai 1", "Канал 7", "\xEF\xBB\xBF" "Bom", "a\xEF\xBB\xBF", "\xC3", "ab\xE2\x82", "\xF0\x9F\x98\x80 smile",
        "\xED\xA0\x80", QByteArray("a\0b", 3), QByteArray(TextBlocks::kMaxPackedUnits + 1, 'x'),
    };
    TextBlocks blocks;
    for (const QByteArray &bytes : cases) {
        const QString text = blocks.decoded(bytes);
        EXPECT_EQ(text, M3uText::decoded(bytes)) << bytes.toHex().toStdString();
        EXPECT_EQ(text.isNull(), M3uText::decoded(bytes).isNull());
        EXPECT_EQ(text.utf16()[text.size()], u'\0');
    }
}

// Texts share a block without sharing characters: each lives on after the blocks object and
// its neighbours, and changing one leaves the others as they were.
TEST(TextBlocks, TextsOutliveTheirBlockAndChangeAlone)
{
    auto blocks = std::make_unique<TextBlocks>();
    QString first = blocks->decoded("first");
    QString second = blocks->copy(u"второй");
    QString third = blocks->decoded("third");
    EXPECT_EQ(second.constData(), first.constData() + first.size() + 1) << "one block, end to end";
    blocks.reset();
    second = QString();
    EXPECT_EQ(first, u"first");
    first.append(u" and more");
    first[0] = u'F';
    EXPECT_EQ(first, u"First and more");
    EXPECT_EQ(third, u"third");
    third.append(u'!');
    EXPECT_EQ(third, u"third!");
    EXPECT_EQ(first, u"First and more");
}

// A full block starts a new one; texts longer than a packed text get their own storage.
TEST(TextBlocks, FillsBlocksOneAfterAnother)
{
    TextBlocks blocks;
    const QString name(TextBlocks::kMaxPackedUnits, u'n');
    QList<QString> texts;
    for (qsizetype i = 0; i < 3 * TextBlocks::kBlockUnits / (name.size() + 1); ++i)
        texts.append(blocks.copy(name));
    for (const QString &text : texts)
        ASSERT_EQ(text, name);
    EXPECT_EQ(blocks.copy(QString(TextBlocks::kMaxPackedUnits + 1, u'l')), QString(TextBlocks::kMaxPackedUnits + 1, u'l'));
}

} // namespace
