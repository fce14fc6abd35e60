#include "UiApp.h"

#include "shell/AppStart.h"
#include "app/AppState.h"
#include "app/Localization.h"
#include "home/HomeScreenModel.h"
#include "home/SearchScreenModel.h"
#include "live/LiveScreenModel.h"
#include "kit/ContentListModel.h"
#include "app/Routes.h"

#include <QGuiApplication>
#include <QTest>

#include <cstdio>

UiApp::UiApp()
{
    prepareApplication(*qGuiApp, m_services);
    loadRootView(m_engine, m_services);
    const QList<QObject *> roots = m_engine.rootObjects();
    m_window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.first());
    if (m_window)
        m_frames = std::make_unique<FrameClock>(m_window);
}

void UiApp::press(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    QTest::keyClick(m_window, key, modifiers);
}

void UiApp::type(QChar c) const
{
    QTest::keyClick(m_window, c.toLatin1());
}

void UiApp::click(QQuickItem *item) const
{
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

QString UiApp::route() const
{
    return routeName(m_services.app()->current());
}

bool UiApp::homeCounted(int timeoutMs) const
{
    const QString loading = tr(QStringLiteral("loading_short"));
    return waitUntil(
        [&] {
        HomeScreenModel *home = activeScreen<HomeScreenModel>(m_window);
        return home && home->liveCount() != loading && home->movieCount() != loading
            && home->seriesCount() != loading;
        },
        timeoutMs);
}

bool UiApp::focusHomeTile(const QString &id) const
{
    HomeScreenModel *home = activeScreen<HomeScreenModel>(m_window);
    if (!home)
        return false;
    if (home->focus().isEmpty())
        press(Qt::Key_Tab);
    // Left to the first tile, right along the tiles to the actions, down the actions.
    for (int step = 0; step < 4 && home->focus() != u"live"; ++step)
        press(Qt::Key_Left);
    for (int step = 0; step < 4 && home->focus() != id && home->focus() != u"search"; ++step)
        press(Qt::Key_Right);
    for (int step = 0; step < 5 && home->focus() != id; ++step)
        press(Qt::Key_Down);
    return home->focus() == id;
}

bool UiApp::backHome() const
{
    for (int step = 0; step < 6 && route() != u"home"; ++step) {
        press(Qt::Key_Escape);
        runFor(50);
    }
    return waitUntil([this] { return activeScreen<HomeScreenModel>(m_window) != nullptr; }, 5000);
}

std::optional<double> UiApp::openLive()
{
    if (!focusHomeTile(QStringLiteral("live")))
        return std::nullopt;
    // Asked while a frame's scene is taken, so the frame that first shows the channels is
    // the one timed, not the next one after a poll has noticed them.
    m_frames->watchSyncs([window = m_window] {
        LiveScreenModel *live = activeScreen<LiveScreenModel>(window);
        return live && live->loaded() && live->channels()->count() > 0;
    });
    const qint64 start = monotonicNs();
    press(Qt::Key_Return);
    const std::optional<qint64> frame = m_frames->firstFrameShowing(120000);
    if (!frame)
        return std::nullopt;
    return elapsedMs(start, *frame);
}

bool UiApp::openSearch() const
{
    if (!focusHomeTile(QStringLiteral("search")))
        return false;
    press(Qt::Key_Return);
    return waitUntil(
        [this] {
        SearchScreenModel *search = activeScreen<SearchScreenModel>(m_window);
        return search && !search->loading() && search->fieldFocused();
        },
        120000);
}

double elapsedMs(qint64 fromNs, qint64 toNs)
{
    return double(toNs - fromNs) / 1e6;
}

void report(const char *name, double value)
{
    std::printf("%s=%.0f\n", name, value);
    std::fflush(stdout);
}

void reportAt(const char *name, qint64 atNs)
{
    std::printf("%s=%lld\n", name, static_cast<long long>(atNs));
    std::fflush(stdout);
}
