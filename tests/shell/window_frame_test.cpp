#include "shell/AppStart.h"
#include "shell/Services.h"
#include "shell/FrameFit.h"

#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_PlaybackPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_VodPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_HomePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_LivePlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_ShellPlugin)

namespace {

QString text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// A 1280x800 X server of this test's own, on the display number it picks, managed by openbox.
class DecoratedDisplay {
public:
    ~DecoratedDisplay()
    {
        for (QProcess *process : { &m_manager, &m_server }) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }

    // The display's name; empty when no X server could be started.
    QString startServer()
    {
        m_server.start(
            QStringLiteral("Xvfb"), { "-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp" });
        QByteArray number;
        while (!number.endsWith('\n') && m_server.waitForReadyRead(10000))
            number += m_server.readAllStandardOutput();
        return number.endsWith('\n') ? QLatin1Char(':') + QString::fromLatin1(number.trimmed()) : QString();
    }

    bool startManager(const QString &display)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        m_manager.setProcessEnvironment(environment);
        m_manager.start(QStringLiteral("openbox"), { "--sm-disable" });
        return m_manager.waitForStarted(10000);
    }

private:
    QProcess m_server;
    QProcess m_manager;
};

// In the child: the program's window as main() opens it; exits 0 once the window manager
// has framed it and the frame lies inside the screen.
[[noreturn]] void openWindowAndCheckFrame()
{
    qputenv("ZELFOR_SERVER", "http://127.0.0.1:9");
    Services services;
    prepareApplication(*qGuiApp, services);
    QQmlApplicationEngine engine;
    loadRootView(engine, services);
    auto *window = qobject_cast<QWindow *>(engine.rootObjects().value(0));
    if (!window)
        std::_Exit(2);
    const QRect screen = window->screen()->geometry();
    const bool inside = QTest::qWaitFor(
        [&] { return !window->frameMargins().isNull() && screen.contains(window->frameGeometry()); }, 30000);
    if (!inside)
        std::fprintf(stderr, "frame %s on screen %s\n", qPrintable(text(window->frameGeometry())),
            qPrintable(text(screen)));
    std::_Exit(inside ? 0 : 1);
}

// The window opens at the screen's size; the title bar and borders the window manager adds
// would push the frame past the screen's edges.
TEST(WindowFrame, TheDecoratedFrameLiesInsideTheScreen)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    DecoratedDisplay display;
    // The child runs this case again up to the check, on the display the parent started.
    if (!::testing::internal::InDeathTestChild()) {
        const QString name = display.startServer();
        if (name.isEmpty())
            GTEST_SKIP() << "no X server could be started";
        ASSERT_TRUE(display.startManager(name)) << "openbox did not start";
        qputenv("DISPLAY", name.toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    EXPECT_EXIT(openWindowAndCheckFrame(), ::testing::ExitedWithCode(0), "");
}

// Rows: the frame, the screen's free area, the frame fitted into it.
TEST(WindowFrame, OnlyDecorationsReachingPastAreFitted)
{
    const QMargins margins(1, 27, 1, 1);
    const QSize minimum(1118, 680);
    const QRect screen(0, 0, 1280, 800);
    const std::tuple<QRect, QRect, QRect> rows[] = {
        { { 10, 10, 1200, 700 }, screen, { 10, 10, 1200, 700 } },
        { { 0, 0, 1282, 828 }, screen, { 0, 0, 1280, 800 } },
        { { 300, 200, 1200, 720 }, screen, { 80, 80, 1200, 720 } },
        { { 0, 0, 1122, 728 }, { 0, 0, 1120, 700 }, { 0, 0, 1120, 708 } },
        { { 0, 0, 1282, 828 }, { 0, 0, 1024, 600 }, { 0, 0, 1282, 828 } },
    };
    for (const auto &[frame, available, expected] : rows)
        EXPECT_EQ(FrameFit::fitted(frame, margins, available, minimum), expected) << qPrintable(text(frame));
}

} // namespace
