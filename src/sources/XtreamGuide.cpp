#include "XtreamClient.h"

#include "model/Lenient.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// 9999-12-31T23:59:59Z; providers' absurd times beyond it are treated as absent.
constexpr double kLatestSeconds = 253402300799.0;

std::optional<QDateTime> dateOfText(const OptText &text)
{
    const auto seconds = text ? parseDecimalDouble(*text) : std::nullopt;
    return seconds ? XtreamClient::dateFromSeconds(*seconds) : std::nullopt;
}

// Applies keep() to the listings in order and sorts the kept ones by start (stable).
template <typename Keep> QList<EpgEntry> listingsWhere(const QByteArray &body, Keep keep)
{
    QList<EpgEntry> entries = XtreamClient::parseEpgListings(body);
    entries.removeIf([&](const EpgEntry &entry) { return !keep(entry); });
    std::stable_sort(entries.begin(), entries.end(),
        [](const EpgEntry &a, const EpgEntry &b) { return a.start < b.start; });
    return entries;
}

} // namespace

namespace XtreamClient {

std::optional<QDateTime> dateFromSeconds(double seconds)
{
    if (!std::isfinite(seconds) || std::fabs(seconds) > kLatestSeconds)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(std::llround(seconds * 1000.0), Qt::UTC);
}

OptText firstText(
    const simdjson::dom::object *object, std::initializer_list<std::string_view> keys, qsizetype limit)
{
    if (!object)
        return std::nullopt;
    for (const std::string_view key : keys) {
        simdjson::dom::element value;
        if (object->at_key(key).get(value) != simdjson::SUCCESS || value.is_null())
            continue;
        if (value.is_array()) {
            const simdjson::dom::array array = value.get_array().value_unsafe();
            if (array.begin() == array.end())
                continue;
            value = *array.begin();
        }
        const OptText text = lenientValue(value, limit);
        if (!text)
            continue;
        QString trimmed = text->trimmed();
        if (trimmed.isEmpty() || trimmed == QLatin1StringView("null")
            || trimmed == QLatin1StringView("<null>"))
            continue;
        return trimmed;
    }
    return std::nullopt;
}

std::optional<EpgEntry> epgEntry(const simdjson::dom::object &listing)
{
    const auto start = dateOfText(firstText(&listing, { "start_timestamp" }));
    const OptText title = decodeText(firstText(&listing, { "title" }, TextBounds::kName));
    if (!start || !title)
        return std::nullopt;
    EpgEntry entry;
    entry.title = *title;
    entry.start = *start;
    entry.end = dateOfText(firstText(&listing, { "stop_timestamp", "end_timestamp" })).value_or(*start);
    if (const OptText archive = firstText(&listing, { "has_archive" }))
        entry.hasArchive = *archive == QLatin1StringView("1");
    entry.description = decodeText(firstText(&listing, { "description" }));
    return entry;
}

QList<EpgEntry> parseEpgListings(const QByteArray &body)
{
    simdjson::dom::parser parser;
    const auto root = parseJson(parser, body);
    simdjson::dom::array listings;
    if (!root || (*root)["epg_listings"].get_array().get(listings) != simdjson::SUCCESS)
        return {};
    QList<EpgEntry> entries;
    for (const simdjson::dom::element value : listings) {
        simdjson::dom::object listing;
        if (value.get_object().get(listing) != simdjson::SUCCESS)
            continue;
        if (auto entry = epgEntry(listing))
            entries.append(std::move(*entry));
    }
    return entries;
}

QList<EpgEntry> shortGuide(const QByteArray &body, const QDateTime &now)
{
    return listingsWhere(body, [&](const EpgEntry &entry) { return entry.end > now; });
}

QList<EpgEntry> guideTable(const QByteArray &body)
{
    QSet<qint64> starts;
    return listingsWhere(body, [&](const EpgEntry &entry) {
        if (entry.end <= entry.start || starts.contains(entry.start.toMSecsSinceEpoch()))
            return false;
        starts.insert(entry.start.toMSecsSinceEpoch());
        return true;
    });
}

} // namespace XtreamClient
