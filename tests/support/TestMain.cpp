#include "app/Prefs.h"
#include "sources/AppClock.h"
#include "sources/Registered.h"

#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Defaults for sanitized test builds, also when a test runs outside CTest (discovery at build
// time, by hand). GStreamer's and fontconfig's start-up allocations are reported as leaks,
// so leak detection is off; every other report ends the test.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
extern "C" const char *__asan_default_options()
{
    return "detect_leaks=0:abort_on_error=1";
}

extern "C" const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1:suppressions=" ZELFOR_SOURCE_DIR "/tests/fuzz/ubsan.supp";
}
#endif
#endif

int main(int argc, char **argv)
{
    // Test discovery runs this binary at build time without CTest's environment.
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // Each test process gets a home of its own, so tests running side by side never share a
    // settings file or a cache; GStreamer's and fontconfig's caches stay where they were.
    if (qEnvironmentVariableIsEmpty("XDG_CACHE_HOME"))
        qputenv("XDG_CACHE_HOME", QFile::encodeName(QDir::homePath() + QStringLiteral("/.cache")));
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/zelfor-test-home-XXXXXX"));
    if (home.isValid())
        qputenv("HOME", QFile::encodeName(home.path()));
    // A private runtime folder (made 0700), for this process and the programs it starts.
    QTemporaryDir runtime(QDir::tempPath() + QStringLiteral("/zelfor-test-runtime-XXXXXX"));
    if (runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZelforTests"));
    QCoreApplication::setApplicationName(QStringLiteral("ZelforTests"));
    // What the program registers at start for the language, the clock format and the items QML
    // makes; a test's own services replace them.
    Prefs settings(QDir(home.path()).filePath(QStringLiteral("test-settings.json")), QString());
    Registered<Prefs>::set(&settings);
    Registered<AppClock>::set(AppClock::system());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
