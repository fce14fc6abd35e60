#include "kit/ProviderText.h"

#include <gtest/gtest.h>

namespace {

TEST(ProviderText, ShowsOneLineWithoutControlCharactersAndIsolatesDirectionControls)
{
    // provider text, what the screen shows
    const std::pair<QString, QString> cases[] = {
        { u"News\nLive\tHD\u2028now"_qs, u"News Live HD now"_qs },
        { u"A\u0001B\u0007C\u007F\u009F"_qs + QChar(0) + u"D"_qs, u"ABCD"_qs },
        { u"قناة 1"_qs, u"قناة 1"_qs },
        { QString(), QString() },
        // Direction controls stay inside an isolate; a stray closing one cannot end it early.
        { u"\u202EKEY-42"_qs, u"\u2068\u202EKEY-42\u2069"_qs },
        { u"\u2069\u202Eevil"_qs, u"\u2068\u202Eevil\u2069"_qs },
        { u"a \u2067b\u2069 c"_qs, u"\u2068a \u2067b\u2069 c\u2069"_qs },
    };
    for (const auto &[text, shown] : cases)
        EXPECT_EQ(shownLine(text), shown) << qPrintable(text);
}

} // namespace
