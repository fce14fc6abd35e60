#pragma once

#include "model/Records.h"
#include "sources/CancelToken.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <memory>
#include <optional>

class AppClock;
class AppTimer;
class Catalog;

// The short guide of the previewed channel. It is asked for once the channel has stayed the
// same for a moment, so zapping through a list asks for nothing; an answer for a channel
// that is no longer previewed is dropped.
class PreviewGuide : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the live screen")
    Q_PROPERTY(bool loading READ loading NOTIFY changed)
    // Up to three rows: times, title, onAir, progress, description (only on air).
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)

public:
    static constexpr qint64 kSettleMs = 250;
    static constexpr int kShownEntries = 3;

    PreviewGuide(Catalog *catalog, AppClock *clock, QObject *parent = nullptr);
    ~PreviewGuide() override;

    // The previewed channel changed (nothing: no channel); the guide loads anew.
    void show(const std::optional<Playlist> &playlist, const std::optional<MediaItem> &channel);

    const std::optional<QList<EpgEntry>> &epg() const { return m_epg; }
    bool loading() const { return !m_epg.has_value(); }
    QVariantList rows() const;

signals:
    void changed();

private:
    QCoro::Task<> fetch(quint64 generation, Playlist playlist, QString streamId, CancelToken cancel);
    void setEpg(std::optional<QList<EpgEntry>> epg);

    Catalog *m_catalog;
    AppClock *m_clock;
    std::optional<QList<EpgEntry>> m_epg;
    quint64 m_generation = 0;
    std::unique_ptr<AppTimer> m_settle;
    // The request of the channel previewed now; replacing it aborts the one before.
    std::unique_ptr<CancelSource> m_request;
};
