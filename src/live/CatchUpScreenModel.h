#pragma once

#include "CatchUpDays.h"
#include "app/RouteScreen.h"
#include "kit/CategoryColumnModel.h"
#include "model/Records.h"
#include "sources/CancelToken.h"

#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <memory>
#include <optional>

class AppClock;
class AppTimer;
class Catalog;

// Replays the channel of its route's payload: a column of archive days and the chosen day's
// programmes (or hourly slots when the provider has no guide), as of the moment the screen
// was opened. Without an active playlist it loads nothing and takes no key.
class CatchUpScreenModel : public RouteScreen {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the route table")
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist CONSTANT)
    Q_PROPERTY(QString channelName READ channelName CONSTANT)
    Q_PROPERTY(QString channelLogo READ channelLogo CONSTANT)
    Q_PROPERTY(QString archiveText READ archiveText CONSTANT)
    Q_PROPERTY(CategoryColumnModel *days READ dayColumn CONSTANT)
    Q_PROPERTY(bool guideLoaded READ guideLoaded NOTIFY guideChanged)
    Q_PROPERTY(bool noGuide READ noGuide NOTIFY guideChanged)
    // One map per programme of the chosen day: start, end, title, description, onNow, upcoming, playable.
    Q_PROPERTY(QVariantList programmes READ programmes NOTIFY programmesChanged)
    Q_PROPERTY(int day READ day NOTIFY programmesChanged)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)
    Q_PROPERTY(int pane READ pane NOTIFY focusChanged)

public:
    static constexpr qint64 kScrollDelayMs = 50;
    // Keyboard panes.
    static constexpr int kDayPane = 0;
    static constexpr int kProgrammePane = 1;

    // Loads the archive guide of the entry's channel.
    CatchUpScreenModel(ScreenDeps deps, RouteEntry entry, QObject *parent = nullptr);
    ~CatchUpScreenModel() override;

    bool hasPlaylist() const { return m_playlist.has_value(); }
    QString channelName() const { return m_channel.name; }
    QString channelLogo() const { return m_channel.logo.value_or(QString()); }
    QString archiveText() const;
    CategoryColumnModel *dayColumn() { return &m_dayColumn; }
    bool guideLoaded() const { return m_guide.has_value(); }
    bool noGuide() const { return m_guide && m_guide->isEmpty(); }
    QVariantList programmes() const;
    int day() const { return m_day; }
    int focus() const { return m_focus; }
    int pane() const { return m_pane; }
    const CatchUpDays &archive() const { return m_days; }
    QList<EpgEntry> dayEntries() const;

    Q_INVOKABLE void selectDay(int day);
    Q_INVOKABLE void play(int index);
    bool handleKey(const Key &key) override;

signals:
    void guideChanged();
    void programmesChanged();
    void focusChanged();
    // The programme list scrolls this row to its centre.
    void programmeScrollRequested(int row);

private:
    QCoro::Task<> loadGuide();
    void setDay(int day);
    void focusCurrent();
    void setFocus(int focus, bool scroll);
    void refreshDays();
    bool moveProgramme(int step);

    Catalog *m_catalog;
    AppClock *m_clock;
    const QDateTime m_now;
    const std::optional<Playlist> m_playlist;
    const MediaItem m_channel;
    // Requests still running when the screen goes are aborted.
    CancelSource m_requests;
    const CatchUpDays m_days;
    std::optional<QList<EpgEntry>> m_guide;
    CategoryColumnModel m_dayColumn;
    int m_day = 0;
    int m_focus = -1;
    int m_pane = kProgrammePane;
    quint64 m_loadRun = 0;
    std::unique_ptr<AppTimer> m_scroll;
};
