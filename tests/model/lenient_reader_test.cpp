#include "model/Lenient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

OptText readKey(const QByteArray &object, std::string_view key)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, object);
    EXPECT_TRUE(root.has_value());
    simdjson::dom::object fields;
    if (!root || root->get(fields) != simdjson::SUCCESS)
        return QStringLiteral("<not an object>");
    return lenientString(fields, key);
}

TEST(LenientReader, readsValueAsTrimmedText)
{
    const std::pair<const char *, OptText> cases[] = { { "null", std::nullopt }, { "\"abc\"", "abc" },
        { "\"  padded \\n\\t\"", "padded" }, { "\"\"", std::nullopt }, { "\"   \\r\\n \"", std::nullopt },
        { "\"null\"", std::nullopt }, { "\" null \"", std::nullopt }, { "\"NULL\"", "NULL" },
        { "\"<null>\"", "<null>" }, { "\"\\u00a0 wide \\u3000\"", "wide" },
        { "\"\\u00a0null\\u2028\"", std::nullopt }, { "\"caf\\u00e9\"", QStringLiteral("café") },
        { "12", "12" }, { "-7", "-7" }, { "9223372036854775807", "9223372036854775807" },
        { "-9223372036854775808", "-9223372036854775808" },
        { "18446744073709551615", "1.8446744073709552e+19" },
        { "1234567890123456.0", "1.234567890123456e+15" }, { "0.00001", "1e-05" }, { "12.0", "12" },
        { "-0.0", "0" }, { "3.5", "3.5" }, { "12.5", "12.5" }, { "0.1", "0.1" },
        { "999999999999999.0", "999999999999999" }, { "1e15", "1e+15" }, { "1e20", "1e+20" },
        { "-2.5e-7", "-2.5e-07" }, { "true", "1" }, { "false", "0" }, { "{\"a\": 1}", std::nullopt },
        { "[1, 2]", std::nullopt } };
    for (const auto &[json, expected] : cases)
        EXPECT_EQ(readKey(QByteArray("{\"v\": ") + json + "}", "v"), expected) << json;
}

TEST(LenientReader, missingKeyIsAbsentAndKeysMatchExactly)
{
    EXPECT_EQ(readKey("{\"name\": \"x\"}", "Name"), std::nullopt);
    EXPECT_EQ(readKey("{\"name\": \"x\"}", "name"), QStringLiteral("x"));
    EXPECT_EQ(readKey("{\"odd key\\\"\": 5}", "odd key\""), QStringLiteral("5"));
    EXPECT_EQ(readKey("{}", "name"), std::nullopt);
}

std::vector<simdjson::dom::element> elements(simdjson::dom::parser &parser, const QByteArray &array)
{
    const auto root = parseJson(parser, array);
    EXPECT_TRUE(root.has_value()) << array.constData();
    std::vector<simdjson::dom::element> result;
    simdjson::dom::array values;
    if (root && root->get_array().get(values) == simdjson::SUCCESS)
        for (simdjson::dom::element element : values)
            result.push_back(element);
    return result;
}

TEST(LenientReader, valueKeepsStringsUntrimmed)
{
    simdjson::dom::parser parser;
    const auto values = elements(parser, "[\" a \", \"null\", null, [1]]");
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(lenientValue(values[0]), QStringLiteral(" a "));
    EXPECT_EQ(lenientValue(values[1]), QStringLiteral("null"));
    EXPECT_EQ(lenientValue(values[2]), std::nullopt);
    EXPECT_EQ(lenientValue(values[3]), std::nullopt);
}

// The fast number reads must agree with parsing the lenient text.
TEST(LenientReader, fastNumberReadsAgreeWithParsedText)
{
    // Digits beyond the longest text kept: the fast forms read only what the text keeps.
    const QByteArray longZeros = "\"" + QByteArray(TextBounds::kLongText, '0') + "1\"";
    for (const QByteArray &json :
        QList<QByteArray> { "12", "-12", "\" 12 \"", "\"+12\"", "\"\\u00a012\\u3000\"", "\"12a\"", "12.0",
            "12.5", "-0.0", "\"-0\"", "1e20", "1234567890123456.0", "18446744073709551615",
            "-9223372036854775808", "true", "false", "null", "\"null\"", "\"\"", "\" 2.5e3 \"", "\"inf\"",
            "\"1e400\"", "\"0x10\"", "\"1.0\"", "\" 12.9 \"", "[1]", "{}", longZeros }) {
        SCOPED_TRACE(json.left(40).constData());
        simdjson::dom::parser parser;
        const simdjson::dom::element element = elements(parser, "[" + json + "]").at(0);
        const OptText text = lenientText(element);
        EXPECT_EQ(lenientInteger(element), text ? parseDecimalInteger(*text) : std::nullopt);
        EXPECT_EQ(lenientDouble(element), text ? parseDecimalDouble(*text) : std::nullopt);
    }
}

// Numbers beyond what the reader holds must not cost the rest of the document.
TEST(LenientReader, outOfRangeNumbersLeaveTheDocumentReadable)
{
    const std::pair<const char *, std::vector<OptText>> cases[] = {
        { "[123456789012345678901234567890, 7]", { "1.2345678901234568e+29", "7" } },
        { "[-18446744073709551616]", { "-1.8446744073709552e+19" } },
        { "[18446744073709551615, 9223372036854775807]",
            { "1.8446744073709552e+19", "9223372036854775807" } },
        { "[2e308, -1E+999, 1e-400]", { std::nullopt, std::nullopt, "0" } },
        { "[0.001e400, 100e-400, 0e999, 1e99999999999999999999]", { std::nullopt, "0", "0", std::nullopt } },
        { "[\"99999999999999999999999\", 99999999999999999999999]", { "99999999999999999999999", "1e+23" } },
        { "[\"a\\\"1e999\", 1e999, \"\\\\\", 1]", { "a\"1e999", std::nullopt, "\\", "1" } },
    };
    for (const auto &[json, expected] : cases) {
        simdjson::dom::parser parser;
        std::vector<OptText> texts;
        for (simdjson::dom::element element : elements(parser, json))
            texts.push_back(lenientText(element));
        EXPECT_EQ(texts, expected) << json;
    }
    simdjson::dom::parser parser;
    for (const char *json : { "[1e400,]", "[01, 1e400]", "[99999999999999999999999", "{\"a\": 1e400 \"b\"}" })
        EXPECT_FALSE(parseJson(parser, json).has_value()) << json;
}

TEST(LenientReader, decimalIntegerTakesSignAndDigitsOnly)
{
    const std::pair<const char16_t *, std::optional<qint64>> cases[] = { { u"12", 12 }, { u"+12", 12 },
        { u"-12", -12 }, { u"007", 7 }, { u"-0", 0 },
        { u"9223372036854775807", std::numeric_limits<qint64>::max() },
        { u"-9223372036854775808", std::numeric_limits<qint64>::min() },
        { u"9223372036854775808", std::nullopt }, { u"-9223372036854775809", std::nullopt },
        { u"99999999999999999999", std::nullopt }, { u"", std::nullopt }, { u"+", std::nullopt },
        { u"-", std::nullopt }, { u"+-1", std::nullopt }, { u"12a", std::nullopt }, { u" 12", std::nullopt },
        { u"12.0", std::nullopt }, { u"1e3", std::nullopt }, { u"\u0663", std::nullopt } };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(parseDecimalInteger(QStringView(text)), expected) << QString::fromUtf16(text).toStdString();
}

TEST(LenientReader, decimalDoubleTakesTheWholeText)
{
    const std::pair<const char16_t *, std::optional<double>> cases[] = { { u"12.9", 12.9 }, { u"+3", 3.0 },
        { u"-1e5", -1e5 }, { u".5", 0.5 }, { u"1700000000", 1.7e9 },
        { u"inf", std::numeric_limits<double>::infinity() }, { u"1e400", std::nullopt },
        { u"abc", std::nullopt }, { u"", std::nullopt }, { u"+", std::nullopt }, { u"+-3", std::nullopt },
        { u"12 ", std::nullopt }, { u"1,5", std::nullopt }, { u"\u0661.5", std::nullopt } };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(parseDecimalDouble(QStringView(text)), expected) << QString::fromUtf16(text).toStdString();
    const QString digits = QStringLiteral("1") + QString(300, u'0') + QStringLiteral(".5e-290");
    EXPECT_EQ(parseDecimalDouble(digits), 1e10);
    const std::optional<double> nan = parseDecimalDouble(u"nan");
    ASSERT_TRUE(nan.has_value());
    EXPECT_TRUE(std::isnan(*nan));
    EXPECT_EQ(integerPart(*nan), std::nullopt);
}

TEST(LenientReader, integerPartCutsTowardZeroWithinRange)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, std::optional<qint64>> cases[] = { { 12.9, 12 }, { -12.9, -12 }, { 0.4, 0 },
        { -9223372036854775808.0, std::numeric_limits<qint64>::min() },
        { 9223372036854775808.0, std::nullopt }, { 1e300, std::nullopt }, { -1e300, std::nullopt },
        { infinity, std::nullopt }, { -infinity, std::nullopt } };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(integerPart(input), expected) << input;
}

TEST(LenientReader, parseJsonRejectsBadBytesAndSkipsByteOrderMark)
{
    simdjson::dom::parser parser;
    for (const char *bad : { "", "{\"a\": ", "not json", "[\"\xff\"]" })
        EXPECT_FALSE(parseJson(parser, bad).has_value()) << bad;
    const auto withMark = parseJson(parser, "\xEF\xBB\xBF[7]");
    ASSERT_TRUE(withMark.has_value());
    EXPECT_EQ(lenientText(withMark->at(0).value()), QStringLiteral("7"));
}

TEST(LenientReader, readsInPlaceOnlyWithRoomAfterTheData)
{
    // spare capacity whose bytes past the end would break the document
    QByteArray roomy;
    roomy.reserve(256);
    roomy.append("[1, 2]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]");
    roomy.truncate(6);
    EXPECT_GE(spareBytesAfter(roomy), qsizetype(simdjson::SIMDJSON_PADDING));
    simdjson::dom::parser parser;
    EXPECT_EQ(elements(parser, roomy).size(), 2u);

    // the front removed: the free room lies before the data, none after it
    QByteArray shifted(200, ' ');
    shifted.append("[1, \"tail\"]");
    shifted.squeeze();
    shifted.remove(0, 200);
    ASSERT_EQ(shifted, QByteArray("[1, \"tail\"]"));
    EXPECT_EQ(spareBytesAfter(shifted), 0);
    EXPECT_EQ(lenientText(elements(parser, shifted).at(1)), QStringLiteral("tail"));

    const QByteArray raw = QByteArray::fromRawData("[3]", 3);
    EXPECT_EQ(spareBytesAfter(raw), 0);
    EXPECT_EQ(lenientText(elements(parser, raw).at(0)), QStringLiteral("3"));
}

} // namespace
