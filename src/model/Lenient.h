#pragma once

#include "Records.h"
#include "TextBounds.h"

#include <QByteArray>
#include <QStringView>

#include <simdjson.h>

#include <string_view>

// The one lenient reader of portal and provider JSON values.

// A JSON value read as text: null gives nothing, a string its text, an integer its
// decimal text, a whole double below 1e15 in magnitude its integer text, any other
// double its shortest round-trip text, a boolean "1" or "0", an object or array nothing.
// A string keeps at most its first `limit` UTF-8 bytes (TextBounds::cut).
OptText lenientValue(simdjson::dom::element element, qsizetype limit = TextBounds::kLongText);

// lenientValue trimmed of white space; an empty text or "null" (lower case) gives nothing.
OptText lenientText(simdjson::dom::element element, qsizetype limit = TextBounds::kLongText);

// lenientText of one key of an object; a missing key gives nothing.
OptText lenientString(
    simdjson::dom::object object, std::string_view key, qsizetype limit = TextBounds::kLongText);

// A decimal 64-bit integer: optional "+" or "-", then ASCII digits only, no overflow.
std::optional<qint64> parseDecimalInteger(QStringView text);
std::optional<qint64> parseDecimalInteger(std::string_view text);

// A floating-point number written in decimal ("12.9", "-1e5", "+3", "inf"); the whole
// text must be the number, and a value beyond the double range either way gives nothing.
std::optional<double> parseDecimalDouble(QStringView text);
std::optional<double> parseDecimalDouble(std::string_view text);

// Fast forms of parseDecimalInteger(lenientText(element)) and
// parseDecimalDouble(lenientText(element)) that make no text on the way.
std::optional<qint64> lenientInteger(simdjson::dom::element element);
std::optional<double> lenientDouble(simdjson::dom::element element);

// The integer part of a double (toward zero); nothing when not finite or out of range.
std::optional<qint64> integerPart(double value);

// Shortest decimal text that reads back as the same double ("12.5", "1e-05"); from
// 1e15 in magnitude always in exponent form ("1e+20", "1.234567890123456e+15").
QString shortestDecimal(double value);

// Parses JSON bytes (a leading UTF-8 byte-order mark is skipped) into the parser's
// document; nothing when the bytes are not JSON. The element lives as long as the
// parser and until its next parse. A parser used again keeps its buffers, which makes
// big documents parse several times faster; bytes with 64 spare bytes of capacity
// are read in place instead of copied.
std::optional<simdjson::dom::element> parseJson(simdjson::dom::parser &parser, const QByteArray &bytes);

// Bytes of the array's own allocation that follow its data (room taken from its
// front, as by remove(0, n), does not count); 0 for raw data.
qsizetype spareBytesAfter(const QByteArray &bytes);
