#include "sources/M3uText.h"
#include "sources/SharedTexts.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

TEST(SharedTexts, EqualTextsShareOneStorage)
{
    SharedTexts texts;
    const QString first = texts.shared(QString::fromUtf8("Канал 7 hd"));
    const QString again = texts.shared(QString::fromUtf8("Канал 7 hd"));
    const QString other = texts.shared(QStringLiteral("Канал 8 hd"));
    EXPECT_EQ(again, QString::fromUtf8("Канал 7 hd"));
    EXPECT_EQ(again.constData(), first.constData());
    EXPECT_EQ(other, QStringLiteral("Канал 8 hd"));
    EXPECT_NE(other.constData(), first.constData());
}

TEST(SharedTexts, KeepsNullAndEmptyApart)
{
    SharedTexts texts;
    EXPECT_TRUE(texts.shared(QString()).isNull());
    const QString empty = texts.shared(QStringLiteral(""));
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
}

// Far more distinct texts than slots: each answer is still the text asked for.
TEST(SharedTexts, ManyDistinctTextsComeBackUnchanged)
{
    SharedTexts texts;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 3 * SharedTexts::kSlots; i += 7) {
            const QString text = QStringLiteral("channel %1").arg(i);
            ASSERT_EQ(texts.shared(text), text);
        }
    }
}

// Decoding through the table reads every byte sequence, broken ones included, exactly as
// the plain decoding does.
TEST(SharedTexts, DecodesLikeThePlainDecoding)
{
    const QByteArray cases[] = {
        "", "Rai 1", "Канал 7", "\xEF\xBB\xBF" "Bom", "a\xEF\xBB\xBF", "\xC3", "ab\xE2\x82", "\xF0\x9F\x98",
        "\x80\x80x", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF\xFE", QByteArray("a\0b", 3),
        "\xF0\x9F\x98\x80 smile", QByteArray(SharedTexts::kMaxBufferedBytes + 1, 'x'),
    };
    SharedTexts texts;
    for (const QByteArray &bytes : cases) {
        const QString text = texts.sharedDecoded(bytes);
        EXPECT_EQ(text, M3uText::decoded(bytes)) << bytes.toHex().toStdString();
        EXPECT_EQ(text.isNull(), M3uText::decoded(bytes).isNull());
    }
    QRandomGenerator random(7);
    const char pieces[] = { 'a', ' ', '\x80', '\xBF', '\xC3', '\xD0', '\xE2', '\xED', '\xEF', '\xF0', '\xF4', '\xFF' };
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        for (int n = random.bounded(1, 9); n > 0; --n)
            bytes += pieces[random.bounded(int(sizeof(pieces)))];
        ASSERT_EQ(texts.sharedDecoded(bytes), M3uText::decoded(bytes)) << bytes.toHex().toStdString();
    }
}

TEST(SharedTexts, RepeatedBytesShareOneStorage)
{
    SharedTexts texts;
    const QString first = texts.sharedDecoded("Канал 7 hd");
    EXPECT_EQ(texts.sharedDecoded("Канал 7 hd").constData(), first.constData());
    EXPECT_EQ(texts.shared(QString::fromUtf8("Канал 7 hd")).constData(), first.constData());
}

} // namespace
