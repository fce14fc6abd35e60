#include "sources/SharedTexts.h"

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

} // namespace
