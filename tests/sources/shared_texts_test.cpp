#include "sources/M3uText.h"
#include "sources/SharedTexts.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// Decoding through the table reads every byte sequence, broken ones included, exactly as
// the plain decoding does.
TEST(SharedTexts, DecodesLikeThePlainDecoding)
{
    const QByteArray cases[] = {
        "", "Rai 1", "Канал 7", "\xEF\xBB\xBF" "Bom", "a\xEF\xBB\xBF", "\xC3", "ab\xE2\x82", "\xF0\x9F\x98",
        "\x80\x80x", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF\xFE", QByteArray("a\0b", 3),
        "\xF0\x9F\x98\x80 smile", QByteArray(SharedTexts::kMaxSharedBytes + 1, 'x'),
    };
    SharedTexts texts;
    for (const QByteArray &bytes : cases) {
        const QString text = texts.text(bytes);
        EXPECT_EQ(text, M3uText::decoded(bytes)) << bytes.toHex().toStdString();
        EXPECT_EQ(text.isNull(), M3uText::decoded(bytes).isNull());
    }
    QRandomGenerator random(7);
    const char pieces[] = { 'a', ' ', '\x80', '\xBF', '\xC3', '\xD0', '\xE2', '\xED', '\xEF', '\xF0', '\xF4', '\xFF' };
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes;
        for (int n = random.bounded(1, 9); n > 0; --n)
            bytes += pieces[random.bounded(int(sizeof(pieces)))];
        ASSERT_EQ(texts.text(bytes), M3uText::decoded(bytes)) << bytes.toHex().toStdString();
    }
}

TEST(SharedTexts, RepeatedBytesShareOneStorage)
{
    SharedTexts texts;
    const QString first = texts.text("Канал 7 hd");
    const QString ascii = texts.text("Rai 1");
    EXPECT_EQ(texts.text(QByteArray("Канал 7 hd")).constData(), first.constData());
    EXPECT_EQ(texts.text(QByteArray("Rai 1")).constData(), ascii.constData());
    EXPECT_NE(texts.text("Rai 2").constData(), ascii.constData());
}

// Far more distinct texts than slots: each answer is still the text asked for.
TEST(SharedTexts, ManyDistinctTextsComeBackUnchanged)
{
    SharedTexts texts;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 3 * SharedTexts::kSlots; i += 7) {
            const QByteArray bytes = (i % 2 ? "Канал " : "channel ") + QByteArray::number(i);
            ASSERT_EQ(texts.text(bytes), QString::fromUtf8(bytes));
        }
    }
}

} // namespace
