#pragma once

#include "CatchUpDays.h"
#include "CategoryColumnModel.h"
#include "app/KeyHandler.h"
#include "model/Records.h"
#include "sources/CancelToken.h"

#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <QCoroTask>

#include <functional>
#include <memory>
#include <optional>

class AppClock;
class AppState;
class AppTimer;
class Catalog;

// What the catch-up screen works with; the default constructor takes the shared instances,
// the wall clock and the local time zone.
struct CatchUpScreenDeps {
    AppState *app = nullptr;
    Catalog *catalog = nullptr;
    KeyRouter *router = nullptr;
    AppClock *clock = nullptr;
    QTimeZone zone = QTimeZone::systemTimeZone();
};

// Replays a channel's past programmes: a column of archive days and the chosen day's
// programmes (or hourly slots when the provider has no guide), as of the moment the screen
// was opened.
class CatchUpScreenModel : public KeyHandler {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString entryId READ entryId WRITE setEntryId NOTIFY channelChanged)
    Q_PROPERTY(bool hasPlaylist READ hasPlaylist NOTIFY channelChanged)
    Q_PROPERTY(QString channelName READ channelName NOTIFY channelChanged)
    Q_PROPERTY(QString channelLogo READ channelLogo NOTIFY channelChanged)
    Q_PROPERTY(QString archiveText READ archiveText NOTIFY channelChanged)
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

    explicit CatchUpScreenModel(QObject *parent = nullptr);
    CatchUpScreenModel(const CatchUpScreenDeps &deps, QObject *parent = nullptr);
    ~CatchUpScreenModel() override;

    QString entryId() const { return m_entryId; }
    // The stack entry whose channel this screen shows; loads the archive guide.
    void setEntryId(const QString &entryId);
    // The channel to show, as the catch-up route carries it.
    void showChannel(const MediaItem &channel);

    bool hasPlaylist() const;
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
    const CatchUpDays &archive() const { return *m_days; }
    QList<EpgEntry> dayEntries() const;

    Q_INVOKABLE void selectDay(int day);
    Q_INVOKABLE void play(int index);
    Q_INVOKABLE void back();
    bool handleKey(const Key &key) override;

signals:
    void channelChanged();
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

    QPointer<AppState> m_app;
    Catalog *m_catalog;
    AppClock *m_clock;
    QDateTime m_now;
    QTimeZone m_zone;
    QString m_entryId;
    MediaItem m_channel;
    // Requests still running when the screen goes are aborted.
    CancelSource m_requests;
    std::unique_ptr<CatchUpDays> m_days;
    std::optional<QList<EpgEntry>> m_guide;
    CategoryColumnModel m_dayColumn;
    int m_day = 0;
    int m_focus = -1;
    int m_pane = kProgrammePane;
    quint64 m_loadRun = 0;
    std::unique_ptr<AppTimer> m_scroll;
};
