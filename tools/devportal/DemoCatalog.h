#pragma once

#include "model/Records.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The demo provider's content: a few categories, channels, films and series, written in
// the forms an Xtream-Codes panel and an M3U playlist use. Addresses point at `base`.
namespace DemoCatalog {

inline const QString kUser = QStringLiteral("demo");
inline const QString kPassword = QStringLiteral("demo");

struct Title {
    QString id;
    QString name;
    QString categoryId; // empty: no category
    QString detail; // guide channel id of a channel; genre of a film or series
    bool archive = false;
    int seasons = 0;
};

const QList<Category> &categories(ContentType type);
const QList<Title> &titles(ContentType type);
std::optional<Title> find(ContentType type, const QString &id);

QByteArray account(const QString &base, const QDateTime &now);
// The answer to wrong credentials.
QByteArray refusal();
QByteArray categoriesJson(ContentType type);
QByteArray streamsJson(ContentType type, const QString &base);
QByteArray vodInfoJson(const QString &id, const QString &base);
QByteArray seriesInfoJson(const QString &id, const QString &base);
// Programmes every 30 minutes from three days back to one day ahead, titles in Base64.
// `limit` > 0 keeps that many programmes from the one on air.
QByteArray guideJson(const QString &streamId, const QDateTime &now, int limit);
// Every channel and film as an M3U playlist.
QByteArray m3u(const QString &base);

// Where the pictures are served.
QString logoUrl(const QString &base, const QString &id);
QString posterUrl(const QString &base, const QString &id);
QString backdropUrl(const QString &base, const QString &id);

} // namespace DemoCatalog
