#include "JsonNumbers.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace {

bool isNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

bool isWholeToken(std::string_view token)
{
    return token.find_first_of(".eE") == std::string_view::npos;
}

bool fitsInteger(std::string_view token)
{
    const char *end = token.data() + token.size();
    if (token.starts_with('-')) {
        std::int64_t value = 0;
        return std::from_chars(token.data(), end, value).ec != std::errc::result_out_of_range;
    }
    std::uint64_t value = 0;
    return std::from_chars(token.data(), end, value).ec != std::errc::result_out_of_range;
}

// Exponent value, saturated far beyond any double exponent.
long exponentOf(std::string_view digits)
{
    const bool negative = digits.starts_with('-');
    if (negative || digits.starts_with('+'))
        digits.remove_prefix(1);
    long value = 0;
    for (char c : digits)
        value = std::min(value * 10 + (c - '0'), 100000L);
    return negative ? -value : value;
}

// Whether the number's first significant digit stands above the units place,
// which tells an overflow from an underflow.
bool isAboveOne(std::string_view token)
{
    const std::size_t exponentAt = token.find_first_of("eE");
    const long exponent = exponentAt == std::string_view::npos ? 0 : exponentOf(token.substr(exponentAt + 1));
    const std::string_view mantissa = token.substr(0, exponentAt);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("-0.");
    if (first == std::string_view::npos)
        return false;
    const long place = first < point ? long(point - first) - 1 : -long(first - point);
    return place + exponent > 0;
}

// Replacement of one number token, or nothing when the reader takes it as it is.
std::optional<std::string_view> replacement(std::string_view token, char (&buffer)[32])
{
    double value = 0;
    const auto [stop, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error == std::errc::invalid_argument || stop != token.data() + token.size())
        return std::nullopt; // not a number; the reader reports the bad JSON itself
    if (isWholeToken(token) && fitsInteger(token))
        return std::nullopt;
    if (error == std::errc()) {
        if (!isWholeToken(token))
            return std::nullopt;
        const auto written
            = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
        return std::string_view(buffer, std::size_t(written.ptr - buffer));
    }
    // out of the double range: too small reads as zero already, too big has no value
    if (!isAboveOne(token))
        return std::nullopt;
    return std::string_view("null");
}

} // namespace

std::optional<QByteArray> withReadableNumbers(std::string_view json)
{
    QByteArray result;
    bool changed = false;
    bool inString = false;
    std::size_t copied = 0;
    char buffer[32];
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            continue;
        }
        if (c != '-' && (c < '0' || c > '9'))
            continue;
        std::size_t end = i;
        while (end < json.size() && isNumberChar(json[end]))
            ++end;
        if (const auto text = replacement(json.substr(i, end - i), buffer)) {
            if (!changed)
                result.reserve(qsizetype(json.size()) + 64);
            result.append(json.data() + copied, qsizetype(i - copied));
            result.append(text->data(), qsizetype(text->size()));
            copied = end;
            changed = true;
        }
        i = end - 1;
    }
    if (!changed)
        return std::nullopt;
    result.append(json.data() + copied, qsizetype(json.size() - copied));
    return result;
}
