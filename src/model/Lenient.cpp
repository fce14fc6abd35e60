#include "Lenient.h"

#include "JsonNumbers.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double kWholeNumberLimit = 1e15;
// 2^63: the first double above the qint64 range.
constexpr double kInt64Bound = 9223372036854775808.0;

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimAscii(std::string_view text)
{
    while (!text.empty() && isAsciiSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isAsciiSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isAbsentText(QStringView text)
{
    return text.isEmpty() || text == u"null";
}

bool hasAsciiEdges(std::string_view text)
{
    return text.empty()
        || (static_cast<unsigned char>(text.front()) < 0x80
            && static_cast<unsigned char>(text.back()) < 0x80);
}

bool isSmallWhole(double value)
{
    return std::trunc(value) == value && std::fabs(value) < kWholeNumberLimit;
}

char16_t codeUnit(QChar c)
{
    return c.unicode();
}

char16_t codeUnit(char c)
{
    return static_cast<unsigned char>(c);
}

// Optional sign, then ASCII digits only; accumulated negatively so that the
// qint64 minimum parses too.
template <typename Text> std::optional<qint64> parseInteger(Text text)
{
    std::size_t i = 0;
    const char16_t first = text.empty() ? 0 : codeUnit(text[0]);
    const bool negative = first == u'-';
    if (negative || first == u'+')
        ++i;
    if (i == std::size_t(text.size()))
        return std::nullopt;
    qint64 value = 0;
    for (; i < std::size_t(text.size()); ++i) {
        const char16_t c = codeUnit(text[qsizetype(i)]);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (__builtin_mul_overflow(value, qint64(10), &value)
            || __builtin_sub_overflow(value, qint64(c - u'0'), &value))
            return std::nullopt;
    }
    if (negative)
        return value;
    if (value == std::numeric_limits<qint64>::min())
        return std::nullopt;
    return -value;
}

QString integerText(qint64 value)
{
    return QString::number(value);
}

QString doubleText(double value)
{
    if (isSmallWhole(value))
        return integerText(static_cast<qint64>(value));
    return shortestDecimal(value);
}

std::string_view bounded(std::string_view text, qsizetype limit)
{
    const QByteArrayView kept = TextBounds::cut(QByteArrayView(text.data(), qsizetype(text.size())), limit);
    return std::string_view(kept.data(), std::size_t(kept.size()));
}

// At most `limit` bytes of the string, without ASCII blanks at either end.
std::string_view trimmedBounded(std::string_view raw, qsizetype limit)
{
    return trimAscii(bounded(trimAscii(raw), limit));
}

// Text of a string value, trimmed; only non-ASCII edges need the Unicode trim.
OptText trimmedStringText(std::string_view raw, qsizetype limit)
{
    const std::string_view text = trimmedBounded(raw, limit);
    if (text.empty() || text == "null")
        return std::nullopt;
    QString result = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (static_cast<unsigned char>(text.front()) >= 0x80 || static_cast<unsigned char>(text.back()) >= 0x80) {
        result = std::move(result).trimmed();
        if (isAbsentText(result))
            return std::nullopt;
    }
    return result;
}

bool isAscii(QStringView text)
{
    return std::all_of(
        text.begin(), text.end(), [](QChar c) { return c.unicode() != 0 && c.unicode() < 0x80; });
}

} // namespace

OptText lenientValue(simdjson::dom::element element, qsizetype limit)
{
    using simdjson::dom::element_type;
    switch (element.type()) {
    case element_type::STRING: {
        const std::string_view text = bounded(element.get_string().value_unsafe(), limit);
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    case element_type::INT64:
        return integerText(element.get_int64().value_unsafe());
    case element_type::UINT64:
        // beyond the qint64 range: read as a double, as any other too-large number
        return doubleText(double(element.get_uint64().value_unsafe()));
    case element_type::DOUBLE:
        return doubleText(element.get_double().value_unsafe());
    case element_type::BOOL:
        return element.get_bool().value_unsafe() ? QStringLiteral("1") : QStringLiteral("0");
    case element_type::NULL_VALUE:
    case element_type::ARRAY:
    case element_type::OBJECT:
        break;
    }
    return std::nullopt;
}

OptText lenientText(simdjson::dom::element element, qsizetype limit)
{
    if (element.type() == simdjson::dom::element_type::STRING)
        return trimmedStringText(element.get_string().value_unsafe(), limit);
    // numbers and booleans never carry blanks nor spell "null"
    return lenientValue(element, limit);
}

OptText lenientString(simdjson::dom::object object, std::string_view key, qsizetype limit)
{
    simdjson::dom::element element;
    if (object.at_key(key).get(element) != simdjson::SUCCESS)
        return std::nullopt;
    return lenientText(element, limit);
}

std::optional<qint64> parseDecimalInteger(QStringView text)
{
    return parseInteger(text);
}

std::optional<qint64> parseDecimalInteger(std::string_view text)
{
    return parseInteger(text);
}

std::optional<double> parseDecimalDouble(QStringView text)
{
    if (!isAscii(text))
        return std::nullopt;
    QVarLengthArray<char, 64> ascii(text.size());
    std::transform(text.begin(), text.end(), ascii.begin(), [](QChar c) { return char(c.unicode()); });
    return parseDecimalDouble(std::string_view(ascii.data(), std::size_t(ascii.size())));
}

std::optional<double> parseDecimalDouble(std::string_view text)
{
    // from_chars takes no leading "+"; a sign after it stays an error
    if (text.size() >= 2 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<qint64> lenientInteger(simdjson::dom::element element)
{
    using simdjson::dom::element_type;
    switch (element.type()) {
    case element_type::STRING: {
        const std::string_view text
            = trimmedBounded(element.get_string().value_unsafe(), TextBounds::kLongText);
        if (hasAsciiEdges(text))
            return parseDecimalInteger(text);
        const OptText slow = lenientText(element);
        return slow ? parseDecimalInteger(*slow) : std::nullopt;
    }
    case element_type::INT64:
        return element.get_int64().value_unsafe();
    case element_type::DOUBLE: {
        const double value = element.get_double().value_unsafe();
        if (isSmallWhole(value))
            return static_cast<qint64>(value);
        return std::nullopt;
    }
    case element_type::BOOL:
        return element.get_bool().value_unsafe() ? 1 : 0;
    default:
        return std::nullopt;
    }
}

std::optional<double> lenientDouble(simdjson::dom::element element)
{
    using simdjson::dom::element_type;
    switch (element.type()) {
    case element_type::STRING: {
        const std::string_view text
            = trimmedBounded(element.get_string().value_unsafe(), TextBounds::kLongText);
        if (hasAsciiEdges(text))
            return parseDecimalDouble(text);
        const OptText slow = lenientText(element);
        return slow ? parseDecimalDouble(*slow) : std::nullopt;
    }
    case element_type::INT64:
        return double(element.get_int64().value_unsafe());
    case element_type::UINT64:
        return double(element.get_uint64().value_unsafe());
    case element_type::DOUBLE:
        return element.get_double().value_unsafe();
    case element_type::BOOL:
        return element.get_bool().value_unsafe() ? 1.0 : 0.0;
    default:
        return std::nullopt;
    }
}

std::optional<qint64> integerPart(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::trunc(value);
    if (whole >= kInt64Bound || whole < -kInt64Bound)
        return std::nullopt;
    return static_cast<qint64>(whole);
}

QString shortestDecimal(double value)
{
    char buffer[64];
    // big numbers always in exponent form, so they never read as integer text
    const bool big = std::isfinite(value) && std::fabs(value) >= kWholeNumberLimit;
    const auto result = big
        ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific)
        : std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

std::optional<simdjson::dom::element> parseJson(simdjson::dom::parser &parser, const QByteArray &bytes)
{
    std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    // the byte array's own spare room serves as padding when there is enough of it
    const bool padded = std::size_t(spareBytesAfter(bytes)) >= simdjson::SIMDJSON_PADDING;
    simdjson::dom::element root;
    simdjson::error_code error = parser.parse(text.data(), text.size(), !padded).get(root);
    if (error == simdjson::NUMBER_ERROR) {
        // one out-of-range number must not cost the whole document
        if (const std::optional<QByteArray> repaired = withReadableNumbers(text))
            error = parser.parse(repaired->constData(), std::size_t(repaired->size())).get(root);
    }
    if (error != simdjson::SUCCESS)
        return std::nullopt;
    return root;
}

qsizetype spareBytesAfter(const QByteArray &bytes)
{
    // capacity() also counts the free room before the data; data_ptr() only reads
    // here, Qt 6.4 just has no const overload of it
    return const_cast<QByteArray &>(bytes).data_ptr().freeSpaceAtEnd();
}
