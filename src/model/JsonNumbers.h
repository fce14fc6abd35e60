#pragma once

#include <QByteArray>

#include <optional>
#include <string_view>

// A copy of JSON text whose numbers all fit the reader: an integer beyond the
// 64-bit range becomes its nearest double, a number beyond the double range
// becomes null. Nothing when no number needed a change.
std::optional<QByteArray> withReadableNumbers(std::string_view json);
