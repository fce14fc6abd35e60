#include "Prefs.h"

#include "model/ContentKeys.h"
#include "model/JsonForms.h"
#include "model/Lenient.h"
#include "sources/DeviceIdentity.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

const QString kLanguage = QStringLiteral("language");
const QString kTimeFormat = QStringLiteral("time_format");
const QString kAspectMode = QStringLiteral("aspect_mode");
const QString kUserAgent = QStringLiteral("user_agent");
const QString kFavorites = QStringLiteral("favorites");
const QString kRecent = QStringLiteral("recent");
const QString kRecentLive = QStringLiteral("recent_live");
const QString kResume = QStringLiteral("resume");
const QString kPlaylistId = QStringLiteral("playlist_id");
const QString kMac = QStringLiteral("mac");
const QString kSystem = QStringLiteral("system");

constexpr double kResumeMinimumSeconds = 20;
constexpr double kResumeMaximumShare = 0.95;

QByteArray compact(const QJsonValue &value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray())
                                                   : QJsonDocument(value.toObject());
    return document.toJson(QJsonDocument::Compact);
}

// A stored JSON array of records; nothing when the bytes or any element are unreadable.
template <typename T, typename Reader>
QList<T> readList(const std::optional<QByteArray> &bytes, Reader readElement)
{
    if (!bytes)
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(*bytes);
    if (!document.isArray())
        return {};
    QList<T> list;
    for (const QJsonValue &element : document.array()) {
        std::optional<T> value = element.isObject() ? readElement(element.toObject()) : std::nullopt;
        if (!value)
            return {};
        list.append(*value);
    }
    return list;
}

template <typename T> QByteArray writeList(const QList<T> &list)
{
    QJsonArray array;
    for (const T &value : list)
        array.append(toJson(value));
    return compact(array);
}

QHash<QString, Prefs::ResumePoint> readResume(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(*bytes);
    if (!document.isObject())
        return {};
    QHash<QString, Prefs::ResumePoint> resume;
    const QJsonObject root = document.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QJsonObject point = it.value().toObject();
        const QJsonValue pos = point.value(QLatin1String("pos"));
        const QJsonValue dur = point.value(QLatin1String("dur"));
        if (!it.value().isObject() || !pos.isDouble() || !dur.isDouble())
            return {};
        resume.insert(it.key(), { pos.toDouble(), dur.toDouble() });
    }
    return resume;
}

bool isSafeUserAgent(const QString &userAgent)
{
    return std::none_of(userAgent.begin(), userAgent.end(),
        [](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; });
}

QString newDeviceMac()
{
    QStringList parts;
    for (int i = 0; i < 6; ++i) {
        quint32 byte = QRandomGenerator::system()->generate() & 0xFF;
        if (i == 0)
            byte = (byte & 0xFC) | 0x02; // unicast, locally administered
        parts.append(QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper());
    }
    return parts.join(QLatin1Char(':'));
}

} // namespace

QString deviceCacheSuffix(const QString &address)
{
    quint64 hash = 0x14650fb0739d0383ULL;
    for (const char byte : address.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 0x100000001b3ULL;
    }
    return QString::number(hash, 16);
}

QString deviceCacheKey(const QString &address)
{
    return QStringLiteral("device_cache_") + deviceCacheSuffix(address);
}

Prefs::Prefs(const QString &defaultsPath, const QString &portalAddress, QObject *parent)
    : QObject(parent)
    , m_defaults(defaultsPath)
    , m_portalAddress(portalAddress)
{
    load();
}

void Prefs::load()
{
    m_language = m_defaults.text(kLanguage).value_or(kSystem);
    m_timeFormat = m_defaults.text(kTimeFormat).value_or(kSystem);
    m_aspectMode = pictureModeFrom(m_defaults.integer(kAspectMode).value_or(0));
    const std::optional<QString> userAgent = m_defaults.text(kUserAgent);
    m_userAgent = userAgent && isSafeUserAgent(*userAgent) ? *userAgent : kDefaultUserAgent;
    m_favorites = readList<FavoriteEntry>(m_defaults.bytes(kFavorites), favoriteFromJson);
    m_recentLive = m_defaults.texts(kRecentLive).value_or(QStringList());
    m_recent = readList<PlayItem>(m_defaults.bytes(kRecent), playItemFromJson);
    m_resume = readResume(m_defaults.bytes(kResume));
}

void Prefs::setLanguage(const QString &language)
{
    m_defaults.set(kLanguage, language);
    if (std::exchange(m_language, language) != language)
        emit languageChanged();
}

void Prefs::setTimeFormat(const QString &timeFormat)
{
    m_defaults.set(kTimeFormat, timeFormat);
    if (std::exchange(m_timeFormat, timeFormat) != timeFormat)
        emit timeFormatChanged();
}

void Prefs::setAspectMode(PictureMode mode)
{
    m_defaults.set(kAspectMode, qint64(mode));
    if (std::exchange(m_aspectMode, mode) != mode)
        emit aspectModeChanged();
}

void Prefs::setUserAgent(const QString &userAgent)
{
    if (!isSafeUserAgent(userAgent))
        return;
    m_defaults.set(kUserAgent, userAgent);
    if (std::exchange(m_userAgent, userAgent) != userAgent)
        emit userAgentChanged();
}

bool Prefs::toggleFavorite(const FavoriteEntry &entry)
{
    const QString key = itemKey(entry);
    const bool removed
        = m_favorites.removeIf([&key](const FavoriteEntry &stored) { return itemKey(stored) == key; }) > 0;
    if (!removed)
        m_favorites.append(entry);
    writeFavorites();
    emit favoritesChanged();
    return !removed;
}

bool Prefs::isFavorite(const QString &key) const
{
    return std::any_of(m_favorites.cbegin(), m_favorites.cend(),
        [&key](const FavoriteEntry &stored) { return itemKey(stored) == key; });
}

void Prefs::addRecent(const PlayItem &item)
{
    if (item.catchup)
        return;
    m_recent.removeIf([&item](const PlayItem &stored) { return stored.key == item.key; });
    m_recent.prepend(item);
    if (m_recent.size() > kMaxRecent)
        m_recent.resize(kMaxRecent);
    writeRecent();
    emit recentChanged();
}

void Prefs::removeRecent(const QString &key)
{
    const bool removed = m_recent.removeIf([&key](const PlayItem &stored) { return stored.key == key; }) > 0;
    writeRecent();
    if (removed)
        emit recentChanged();
}

void Prefs::addRecentLive(const QString &key)
{
    m_recentLive.removeAll(key);
    m_recentLive.prepend(key);
    if (m_recentLive.size() > kMaxRecentLive)
        m_recentLive.resize(kMaxRecentLive);
    m_defaults.set(kRecentLive, m_recentLive);
    emit recentLiveChanged();
}

void Prefs::saveResume(const QString &key, double pos, double dur)
{
    // A non-finite number has no JSON form; storing it would break the whole map.
    if (!std::isfinite(pos) || !std::isfinite(dur) || !(dur > 0))
        return;
    if (pos < kResumeMinimumSeconds || pos > kResumeMaximumShare * dur)
        m_resume.remove(key);
    else
        m_resume.insert(key, { pos, dur });
    writeResume();
    emit resumeChanged();
}

std::optional<Prefs::ResumePoint> Prefs::resumePoint(const QString &key) const
{
    const auto it = m_resume.constFind(key);
    if (it == m_resume.constEnd())
        return std::nullopt;
    return *it;
}

qint64 Prefs::selectedPlaylistId() const
{
    if (const std::optional<qint64> id = m_defaults.integer(kPlaylistId))
        return *id;
    // any stored number counts, a fraction cut toward zero
    const std::optional<double> number = m_defaults.number(kPlaylistId);
    return number ? integerPart(*number).value_or(-1) : -1;
}

void Prefs::setSelectedPlaylistId(qint64 id)
{
    m_defaults.set(kPlaylistId, id);
}

std::optional<DeviceResponse> Prefs::cachedDevice() const
{
    const std::optional<QByteArray> bytes = m_defaults.bytes(deviceCacheKey(m_portalAddress));
    return bytes ? deviceResponseFromPortalJson(*bytes) : std::nullopt;
}

void Prefs::saveDeviceCache(const DeviceResponse &device, const QString &key)
{
    m_defaults.set(key, compact(toJson(device)));
}

QString Prefs::deviceMac()
{
    const std::optional<QString> stored = m_defaults.text(kMac);
    if (stored && !stored->isEmpty())
        return *stored;
    const QString mac = newDeviceMac();
    m_defaults.set(kMac, mac);
    return mac;
}

void Prefs::writeFavorites()
{
    m_defaults.set(kFavorites, writeList(m_favorites));
}

void Prefs::writeRecent()
{
    m_defaults.set(kRecent, writeList(m_recent));
}

void Prefs::writeResume()
{
    QJsonObject root;
    for (auto it = m_resume.constBegin(); it != m_resume.constEnd(); ++it)
        root.insert(
            it.key(), QJsonObject { { QStringLiteral("pos"), it->pos }, { QStringLiteral("dur"), it->dur } });
    m_defaults.set(kResume, compact(root));
}
