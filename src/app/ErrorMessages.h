#pragma once

#include <QString>

#include <exception>

// The localised sentence, in the active language, for any error that reaches a screen:
// an AppError, a NetError, a decoding error or anything else.
QString userMessage(const std::exception_ptr &error);
