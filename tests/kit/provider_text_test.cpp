#include "kit/ProviderText.h"

#include <gtest/gtest.h>

namespace {

TEST(ProviderText, ShowsOneIsolatedLineWithoutControlCharacters)
{
    // provider text, what the screen shows
    const std::pair<QString, QString> cases[] = {
        { u"News\nLive\tHD\u2028now"_qs, u"\u2068News Live HD now\u2069"_qs },
        { u"A\u0001B\u0007C\u007F\u009F"_qs + QChar(0) + u"D"_qs, u"\u2068ABCD\u2069"_qs },
        // An override stays inside the isolate.
        { u"\u202EKEY-42"_qs, u"\u2068\u202EKEY-42\u2069"_qs },
        { u"قناة 1"_qs, u"\u2068قناة 1\u2069"_qs },
        { QString(), QString() },
    };
    for (const auto &[text, shown] : cases)
        EXPECT_EQ(shownLine(text), shown) << qPrintable(text);
}

} // namespace
