// The lenient reader over any JSON: every value reads without failing, the fast number
// forms agree with reading the text, and shortest decimals read back as the same double.
#include "FuzzCheck.h"
#include "model/Lenient.h"

#include <cmath>
#include <cstdint>

namespace {

void checkValue(simdjson::dom::element element, int depth)
{
    const OptText text = lenientText(element);
    lenientValue(element);
    FUZZ_CHECK(lenientInteger(element) == (text ? parseDecimalInteger(*text) : std::nullopt));
    const std::optional<double> number = lenientDouble(element);
    const std::optional<double> fromText = text ? parseDecimalDouble(*text) : std::nullopt;
    FUZZ_CHECK(number.has_value() == fromText.has_value());
    if (number && !std::isnan(*number)) {
        FUZZ_CHECK(*number == *fromText);
        if (std::isfinite(*number))
            FUZZ_CHECK(parseDecimalDouble(shortestDecimal(*number)) == *number);
    }
    if (number)
        integerPart(*number);
    if (depth > 64)
        return;
    simdjson::dom::array array;
    simdjson::dom::object object;
    if (element.get_array().get(array) == simdjson::SUCCESS) {
        for (simdjson::dom::element child : array)
            checkValue(child, depth + 1);
    } else if (element.get_object().get(object) == simdjson::SUCCESS) {
        for (const auto member : object) {
            lenientString(object, member.key);
            checkValue(member.value, depth + 1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    parseDecimalInteger(QString::fromUtf8(bytes));
    parseDecimalDouble(QString::fromUtf8(bytes));
    simdjson::dom::parser parser;
    if (const auto root = parseJson(parser, bytes))
        checkValue(*root, 0);
    return 0;
}
