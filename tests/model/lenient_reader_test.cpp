#include "model/Lenient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

struct TextCase {
    const char *json; // the value stored under "v"
    OptText expected;
};

void PrintTo(const TextCase &c, std::ostream *out)
{
    *out << c.json;
}

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

class LenientStringTest : public testing::TestWithParam<TextCase> { };

TEST_P(LenientStringTest, readsValueAsTrimmedText)
{
    const QByteArray json = QByteArray("{\"v\": ") + GetParam().json + "}";
    EXPECT_EQ(readKey(json, "v"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, LenientStringTest,
    testing::Values(TextCase { "null", std::nullopt }, TextCase { "\"abc\"", QStringLiteral("abc") },
        TextCase { "\"  padded \\n\\t\"", QStringLiteral("padded") }, TextCase { "\"\"", std::nullopt },
        TextCase { "\"   \\r\\n \"", std::nullopt }, TextCase { "\"null\"", std::nullopt },
        TextCase { "\" null \"", std::nullopt }, TextCase { "\"NULL\"", QStringLiteral("NULL") },
        TextCase { "\"<null>\"", QStringLiteral("<null>") },
        TextCase { "\"\\u00a0 wide \\u3000\"", QStringLiteral("wide") },
        TextCase { "\"\\u00a0null\\u2028\"", std::nullopt },
        TextCase { "\"caf\\u00e9\"", QStringLiteral("café") }, TextCase { "12", QStringLiteral("12") },
        TextCase { "-7", QStringLiteral("-7") },
        TextCase { "9223372036854775807", QStringLiteral("9223372036854775807") },
        TextCase { "-9223372036854775808", QStringLiteral("-9223372036854775808") },
        TextCase { "18446744073709551615", QStringLiteral("1.8446744073709552e+19") },
        TextCase { "1234567890123456.0", QStringLiteral("1.234567890123456e+15") },
        TextCase { "0.00001", QStringLiteral("1e-05") }, TextCase { "12.0", QStringLiteral("12") },
        TextCase { "-0.0", QStringLiteral("0") }, TextCase { "3.5", QStringLiteral("3.5") },
        TextCase { "12.5", QStringLiteral("12.5") }, TextCase { "0.1", QStringLiteral("0.1") },
        TextCase { "999999999999999.0", QStringLiteral("999999999999999") },
        TextCase { "1e15", QStringLiteral("1e+15") }, TextCase { "1e20", QStringLiteral("1e+20") },
        TextCase { "-2.5e-7", QStringLiteral("-2.5e-07") }, TextCase { "true", QStringLiteral("1") },
        TextCase { "false", QStringLiteral("0") }, TextCase { "{\"a\": 1}", std::nullopt },
        TextCase { "[1, 2]", std::nullopt }));

TEST(LenientReader, missingKeyIsAbsentAndKeysMatchExactly)
{
    EXPECT_EQ(readKey("{\"name\": \"x\"}", "Name"), std::nullopt);
    EXPECT_EQ(readKey("{\"name\": \"x\"}", "name"), QStringLiteral("x"));
    EXPECT_EQ(readKey("{\"odd key\\\"\": 5}", "odd key\""), QStringLiteral("5"));
    EXPECT_EQ(readKey("{}", "name"), std::nullopt);
}

TEST(LenientReader, valueKeepsStringsUntrimmed)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, "[\" a \", \"null\", null, [1]]");
    ASSERT_TRUE(root.has_value());
    const simdjson::dom::array array = root->get_array().value();
    EXPECT_EQ(lenientValue(array.at(0).value()), QStringLiteral(" a "));
    EXPECT_EQ(lenientValue(array.at(1).value()), QStringLiteral("null"));
    EXPECT_EQ(lenientValue(array.at(2).value()), std::nullopt);
    EXPECT_EQ(lenientValue(array.at(3).value()), std::nullopt);
}

simdjson::dom::element firstOf(simdjson::dom::parser &parser, const QByteArray &array)
{
    const auto root = parseJson(parser, array);
    EXPECT_TRUE(root.has_value()) << array.constData();
    return root ? root->at(0).value() : simdjson::dom::element();
}

class LenientNumberTest : public testing::TestWithParam<const char *> { };

// The fast number reads must agree with parsing the lenient text.
TEST_P(LenientNumberTest, agreesWithParsedText)
{
    simdjson::dom::parser parser;
    const simdjson::dom::element element = firstOf(parser, QByteArray("[") + GetParam() + "]");
    const OptText text = lenientText(element);
    EXPECT_EQ(lenientInteger(element), text ? parseDecimalInteger(*text) : std::nullopt);
    const std::optional<double> number = text ? parseDecimalDouble(*text) : std::nullopt;
    EXPECT_EQ(lenientDouble(element), number);
}

INSTANTIATE_TEST_SUITE_P(Values, LenientNumberTest,
    testing::Values("12", "-12", "\" 12 \"", "\"+12\"", "\"\\u00a012\\u3000\"", "\"12a\"", "12.0", "12.5",
        "-0.0", "\"-0\"", "1e20", "1234567890123456.0", "18446744073709551615", "-9223372036854775808",
        "true", "false", "null", "\"null\"", "\"\"", "\" 2.5e3 \"", "\"inf\"", "\"1e400\"", "\"0x10\"", "[1]",
        "{}"));

TEST(LenientReader, fastNumberReads)
{
    simdjson::dom::parser parser;
    EXPECT_EQ(lenientInteger(firstOf(parser, "[12.0]")), 12);
    EXPECT_EQ(lenientInteger(firstOf(parser, "[true]")), 1);
    EXPECT_EQ(lenientInteger(firstOf(parser, "[\"\\u00a012\"]")), 12);
    EXPECT_EQ(lenientInteger(firstOf(parser, "[1e20]")), std::nullopt);
    EXPECT_EQ(lenientInteger(firstOf(parser, "[\"1.0\"]")), std::nullopt);
    EXPECT_EQ(lenientDouble(firstOf(parser, "[\" 12.9 \"]")), 12.9);
    EXPECT_EQ(lenientDouble(firstOf(parser, "[\"abc\"]")), std::nullopt);
}

struct DocumentCase {
    const char *json;
    std::vector<OptText> expected; // lenientText of each array element
};

void PrintTo(const DocumentCase &c, std::ostream *out)
{
    *out << c.json;
}

class OutOfRangeNumberTest : public testing::TestWithParam<DocumentCase> { };

// Numbers beyond what the reader holds must not cost the rest of the document.
TEST_P(OutOfRangeNumberTest, documentStillReads)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, GetParam().json);
    ASSERT_TRUE(root.has_value());
    std::vector<OptText> texts;
    for (simdjson::dom::element element : root->get_array().value())
        texts.push_back(lenientText(element));
    EXPECT_EQ(texts, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Documents, OutOfRangeNumberTest,
    testing::Values(DocumentCase { "[123456789012345678901234567890, 7]", { "1.2345678901234568e+29", "7" } },
        DocumentCase { "[-18446744073709551616]", { "-1.8446744073709552e+19" } },
        DocumentCase { "[18446744073709551615, 9223372036854775807]",
            { "1.8446744073709552e+19", "9223372036854775807" } },
        DocumentCase { "[2e308, -1E+999, 1e-400]", { std::nullopt, std::nullopt, "0" } },
        DocumentCase { "[0.001e400, 100e-400, 0e999, 1e99999999999999999999]",
            { std::nullopt, "0", "0", std::nullopt } },
        DocumentCase { "[\"99999999999999999999999\", 99999999999999999999999]",
            { "99999999999999999999999", "1e+23" } },
        DocumentCase { "[\"a\\\"1e999\", 1e999, \"\\\\\", 1]", { "a\"1e999", std::nullopt, "\\", "1" } }));

TEST(LenientReader, badDocumentsWithBigNumbersStillFail)
{
    simdjson::dom::parser parser;
    for (const char *json : { "[1e400,]", "[01, 1e400]", "[99999999999999999999999", "{\"a\": 1e400 \"b\"}" })
        EXPECT_FALSE(parseJson(parser, json).has_value()) << json;
}

struct IntegerCase {
    const char16_t *text;
    std::optional<qint64> expected;
};

class DecimalIntegerTest : public testing::TestWithParam<IntegerCase> { };

TEST_P(DecimalIntegerTest, parsesSignAndDigitsOnly)
{
    EXPECT_EQ(parseDecimalInteger(QStringView(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, DecimalIntegerTest,
    testing::Values(IntegerCase { u"12", 12 }, IntegerCase { u"+12", 12 }, IntegerCase { u"-12", -12 },
        IntegerCase { u"007", 7 }, IntegerCase { u"-0", 0 },
        IntegerCase { u"9223372036854775807", std::numeric_limits<qint64>::max() },
        IntegerCase { u"-9223372036854775808", std::numeric_limits<qint64>::min() },
        IntegerCase { u"9223372036854775808", std::nullopt },
        IntegerCase { u"-9223372036854775809", std::nullopt },
        IntegerCase { u"99999999999999999999", std::nullopt }, IntegerCase { u"", std::nullopt },
        IntegerCase { u"+", std::nullopt }, IntegerCase { u"-", std::nullopt },
        IntegerCase { u"+-1", std::nullopt }, IntegerCase { u"12a", std::nullopt },
        IntegerCase { u" 12", std::nullopt }, IntegerCase { u"12.0", std::nullopt },
        IntegerCase { u"1e3", std::nullopt }, IntegerCase { u"\u0663", std::nullopt }));

struct DoubleCase {
    const char16_t *text;
    std::optional<double> expected;
};

class DecimalDoubleTest : public testing::TestWithParam<DoubleCase> { };

TEST_P(DecimalDoubleTest, parsesWholeText)
{
    EXPECT_EQ(parseDecimalDouble(QStringView(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, DecimalDoubleTest,
    testing::Values(DoubleCase { u"12.9", 12.9 }, DoubleCase { u"+3", 3.0 }, DoubleCase { u"-1e5", -1e5 },
        DoubleCase { u".5", 0.5 }, DoubleCase { u"1700000000", 1.7e9 },
        DoubleCase { u"inf", std::numeric_limits<double>::infinity() }, DoubleCase { u"1e400", std::nullopt },
        DoubleCase { u"abc", std::nullopt }, DoubleCase { u"", std::nullopt },
        DoubleCase { u"+", std::nullopt }, DoubleCase { u"+-3", std::nullopt },
        DoubleCase { u"12 ", std::nullopt }, DoubleCase { u"1,5", std::nullopt },
        DoubleCase { u"\u0661.5", std::nullopt }));

TEST(LenientReader, longNumberTextParses)
{
    const QString digits = QStringLiteral("1") + QString(300, u'0') + QStringLiteral(".5e-290");
    EXPECT_EQ(parseDecimalDouble(digits), 1e10);
}

TEST(LenientReader, notANumberParsesButHasNoIntegerPart)
{
    const std::optional<double> value = parseDecimalDouble(u"nan");
    ASSERT_TRUE(value.has_value());
    EXPECT_TRUE(std::isnan(*value));
    EXPECT_EQ(integerPart(*value), std::nullopt);
}

TEST(LenientReader, integerPartCutsTowardZeroWithinRange)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, std::optional<qint64>> cases[] = {
        { 12.9, 12 },
        { -12.9, -12 },
        { 0.4, 0 },
        { -9223372036854775808.0, std::numeric_limits<qint64>::min() },
        { 9223372036854775808.0, std::nullopt },
        { 1e300, std::nullopt },
        { -1e300, std::nullopt },
        { infinity, std::nullopt },
        { -infinity, std::nullopt },
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(integerPart(input), expected) << input;
}

TEST(LenientReader, parseJsonRejectsBadBytesAndSkipsByteOrderMark)
{
    simdjson::dom::parser parser;
    EXPECT_FALSE(parseJson(parser, "").has_value());
    EXPECT_FALSE(parseJson(parser, "{\"a\": ").has_value());
    EXPECT_FALSE(parseJson(parser, "not json").has_value());
    EXPECT_FALSE(parseJson(parser, "[\"\xff\"]").has_value());
    const auto withMark = parseJson(parser, "\xEF\xBB\xBF[7]");
    ASSERT_TRUE(withMark.has_value());
    EXPECT_EQ(lenientText(withMark->at(0).value()), QStringLiteral("7"));
}

TEST(LenientReader, spareRoomIsCountedOnlyAfterTheData)
{
    QByteArray roomy;
    roomy.reserve(256);
    roomy.append("[1]");
    EXPECT_GE(spareBytesAfter(roomy), qsizetype(simdjson::SIMDJSON_PADDING));

    // the front removed: the free room lies before the data, none after it
    QByteArray shifted(200, ' ');
    shifted.append("[1, \"tail\"]");
    shifted.squeeze();
    shifted.remove(0, 200);
    ASSERT_EQ(shifted, QByteArray("[1, \"tail\"]"));
    EXPECT_EQ(spareBytesAfter(shifted), 0);
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, shifted);
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(lenientText(root->at(1).value()), QStringLiteral("tail"));

    EXPECT_EQ(spareBytesAfter(QByteArray::fromRawData("[3]", 3)), 0);
}

TEST(LenientReader, parseJsonReadsOnlyTheBytesOfTheArray)
{
    // a spare-capacity buffer whose bytes past the end would break the document
    QByteArray bytes;
    bytes.reserve(256);
    bytes.append("[1, 2]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]");
    bytes.truncate(6);
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, bytes);
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(root->get_array().value().size(), 2u);

    const QByteArray raw = QByteArray::fromRawData("[3]", 3);
    const auto fromRaw = parseJson(parser, raw);
    ASSERT_TRUE(fromRaw.has_value());
    EXPECT_EQ(lenientText(fromRaw->at(0).value()), QStringLiteral("3"));
}

} // namespace
