#include "LanguageNames.h"

#include <unicode/uldnames.h>

#include <array>
#include <memory>

QString languageName(const QString &code, const QLocale &in)
{
    const QLocale::Language language = QLocale::codeToLanguage(code);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return {};
    std::array<UDisplayContext, 2> contexts { UDISPCTX_CAPITALIZATION_FOR_UI_LIST_OR_MENU,
        UDISPCTX_NO_SUBSTITUTE };
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<ULocaleDisplayNames, decltype(&uldn_close)> names(
        uldn_openForContext(
            in.name().toLatin1().constData(), contexts.data(), int32_t(contexts.size()), &status),
        &uldn_close);
    std::array<UChar, 128> text {};
    const int32_t length = U_SUCCESS(status)
        ? uldn_languageDisplayName(names.get(), QLocale::languageToCode(language).toLatin1().constData(),
            text.data(), int32_t(text.size()), &status)
        : 0;
    if (U_FAILURE(status) || length <= 0)
        return QLocale::languageToString(language);
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(text.data()), length);
}
