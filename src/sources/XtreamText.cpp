#include "XtreamClient.h"

#include <QLocale>
#include <QStringDecoder>

#include <stdexcept>

namespace {

bool isBase64Char(QChar ch)
{
    const char16_t c = ch.unicode();
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'+'
        || c == u'/' || c == u'=';
}

// Standard Base64 after dropping foreign characters: whole quads, padding only at the end.
std::optional<QByteArray> base64Bytes(const QString &text)
{
    QByteArray kept;
    kept.reserve(text.size());
    for (QChar ch : text) {
        if (isBase64Char(ch))
            kept += char(ch.unicode());
    }
    if (kept.isEmpty() || kept.size() % 4 != 0)
        return std::nullopt;
    qsizetype pads = 0;
    while (pads < kept.size() && kept.at(kept.size() - 1 - pads) == '=')
        ++pads;
    if (pads > 2 || kept.count('=') != pads)
        return std::nullopt;
    auto decoded = QByteArray::fromBase64Encoding(kept, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

std::optional<QString> validUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Plain words whose letters happen to form Base64 quads decode to control characters
// ("Film") or to mostly punctuation ("Kids" -> "*'l"); real encoded text does neither.
bool looksLikeText(const QString &text)
{
    qsizetype wordy = 0;
    qsizetype other = 0;
    for (const QChar ch : text) {
        if (ch.category() == QChar::Other_Control && ch != u'\t' && ch != u'\n' && ch != u'\r')
            return false;
        if (ch.isLetterOrNumber() || ch.isMark())
            ++wordy;
        else if (!ch.isSpace())
            ++other;
    }
    return wordy >= other;
}

} // namespace

namespace XtreamClient {

OptText decodeText(const OptText &text)
{
    if (!text || text->isEmpty())
        return std::nullopt;
    if (const auto bytes = base64Bytes(*text); bytes && !bytes->isEmpty()) {
        if (const auto decoded = validUtf8(*bytes); decoded && !decoded->isEmpty() && looksLikeText(*decoded))
            return decoded->trimmed();
    }
    return text;
}

QString formatDate(const QDateTime &date, const QString &pattern, const QTimeZone &timeZone)
{
    return QLocale::c().toString(date.toTimeZone(timeZone), pattern);
}

QRegularExpression regex(const QString &pattern, QRegularExpression::PatternOptions options)
{
    QRegularExpression expression(pattern, options);
    if (!expression.isValid())
        throw std::invalid_argument(expression.errorString().toStdString());
    return expression;
}

} // namespace XtreamClient
