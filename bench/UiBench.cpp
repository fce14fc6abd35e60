// zelfor-bench ui: the whole program, as a user meets it, over the demo portal on 127.0.0.1
// serving a generated playlist (--m3u N: an M3U of N entries like the public lists;
// --xtream L,F,S: an Xtream-Codes account of L channels, F films and S series). The program
// runs in a process of its own with new settings and cache folders, driven by key presses
// through the key router; each step is timed to the swap of the first frame drawn from the
// items after its change.
//   first_frame_ms   process start to the first frame; floor_ms the same for a plain Qt
//                    Quick window of the same size, in the same run
//   home_counts_ms   process start to the frame showing home's three counts
//   idle_cpu_pct     CPU of the process on home over 5 s, once it has stood 2 s
//   live_open_ms     Enter on the Live TV tile to the frame showing the channels
//   filter_key_worst_ms   worst of the keys typing the live filter once the screen is at rest
//                    (no frame for 300 ms), key to the filtered list
//   peak_rss_mb      peak resident memory after Live TV and the filter
//   search_settled_worst_ms   worst of the keys typing a search, key to the frame after the
//                    last change of any result row (settled: no change for 300 ms)
//   exit_ms          Ctrl+Q on home to the end of the process
//   first_frame_ratio   first_frame_ms over floor_ms
// Then one line per live format of the demo's own channels (HLS through its Xtream-Codes
// account, MPEG-TS through its M3U playlist): a channel plays full screen and Down zaps three
// times; moving_ms is the worst zap, key to the first new frame after which frames keep
// coming for 300 ms with no gap over 120 ms.
// --runs N: the first run starts from new folders (cold: no compiled shaders, no caches); then
// N runs over the same folders again (warm, as a user meets the program after its first
// start), one line each, then their median and worst, after the load average at the start.
// ZELFOR_BENCH_TRACE=1 echoes the program's lines on stderr as they come.
#include "BenchCommands.h"
#include "DevPortal.h"
#include "UiData.h"
#include "UiFrames.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr int kChildTimeoutMs = 600000;

// What a run of the program asks: its playlist and the texts typed into the live filter and
// into search.
struct Account {
    int entries = 0;
    std::optional<XtreamSizes> xtream; // otherwise an M3U playlist of `entries`
    QString filter;
    QString search;
};

std::optional<Account> parseAccount(const QStringList &args)
{
    Account account;
    if (args.size() == 2 && args[0] == u"--m3u") {
        account.entries = args[1].toInt();
        account.filter = QStringLiteral("canal");
        account.search = QStringLiteral("noticias");
    } else if (args.size() == 2 && args[0] == u"--xtream") {
        const QStringList sizes = args[1].split(u',');
        if (sizes.size() != 3)
            return std::nullopt;
        account.xtream = XtreamSizes { sizes[0].toInt(), sizes[1].toInt(), sizes[2].toInt() };
        account.entries = account.xtream->live + account.xtream->films + account.xtream->series;
        account.filter = QStringLiteral("channel 7");
        account.search = QStringLiteral("title 7");
    }
    if (account.entries <= 0)
        return std::nullopt;
    return account;
}

// One run of this program's child command: its "name=value" lines, the time it was started
// and the time it ended, in monotonic nanoseconds.
struct ChildRun {
    QHash<QString, QString> values;
    QStringList lines;
    qint64 startedNs = 0;
    qint64 endedNs = 0;
    bool ok = false;

    double msFromStart(const QString &name) const
    {
        return double(values.value(name).toLongLong() - startedNs) / 1e6;
    }
};

// Runs `zelfor-bench COMMAND ARGS` with new settings and cache folders under `home` and the
// portal at `server`.
ChildRun runChild(const QStringList &commandAndArgs, const QString &home, const QString &server)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR" }) {
        const QString folder = home + '/' + QString::fromLatin1(name).toLower();
        QDir().mkpath(folder);
        QFile::setPermissions(
            folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        environment.insert(name, folder);
    }
    environment.insert("ZELFOR_SERVER", server);
    // Compiled shaders stay in the run's cache folder, where the next run over it finds them.
    const QString shaderCache = home + "/xdg_cache_home/mesa_shader_cache";
    QDir().mkpath(shaderCache);
    environment.insert("MESA_SHADER_CACHE_DIR", shaderCache);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ChildRun run;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            run.lines.append(line);
            if (qEnvironmentVariableIsSet("ZELFOR_BENCH_TRACE"))
                std::fprintf(stderr, "%s: %s\n", qPrintable(commandAndArgs.first()), qPrintable(line));
            const qsizetype equals = line.indexOf(u'=');
            if (equals > 0 && !line.contains(u' '))
                run.values.insert(line.left(equals), line.mid(equals + 1));
        }
    });
    QObject::connect(&process, &QProcess::finished, &loop, [&](int code, QProcess::ExitStatus status) {
        run.endedNs = monotonicNs();
        run.ok = code == 0 && status == QProcess::NormalExit;
        loop.quit();
    });
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer::singleShot(kChildTimeoutMs, &loop, [&] { process.kill(); });
    run.startedNs = monotonicNs();
    process.start(QCoreApplication::applicationFilePath(), commandAndArgs);
    loop.exec();
    process.waitForFinished();
    if (!run.ok)
        std::fprintf(stderr, "ui: %s did not finish\n", qPrintable(commandAndArgs.first()));
    return run;
}

std::unique_ptr<DevPortal> startPortal(const QList<ExtraPlaylist> &extras, int demoPlaylists, DemoMedia media)
{
    auto portal = std::make_unique<DevPortal>(
        DevPortalOptions { .port = 0, .playlists = demoPlaylists, .extras = extras }, std::move(media));
    if (!portal->isListening())
        std::fprintf(stderr, "ui: the portal does not listen: %s\n", qPrintable(portal->errorString()));
    return portal;
}

// The account's playlist as the one playlist of a portal.
std::unique_ptr<DevPortal> benchPortal(const Account &account, const QTemporaryDir &dir)
{
    if (!account.xtream) {
        const QString file = dir.filePath("bench.m3u");
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(realLikeM3u(account.entries)) < 0)
            return nullptr;
        return startPortal(
            { ExtraPlaylist { .kind = ExtraPlaylist::Kind::m3uFile, .name = "Bench", .source = file } }, 0,
            {});
    }
    const QString folder = dir.filePath("xtream");
    QDir().mkpath(folder);
    auto portal = startPortal(
        { ExtraPlaylist { .kind = ExtraPlaylist::Kind::xtreamDir, .name = "Bench", .source = folder } }, 0,
        {});
    if (!writeXtreamAccount(folder, *account.xtream, portal->baseUrl()))
        return nullptr;
    return portal;
}

// The demo's own live channels, over HLS (its Xtream-Codes account) and MPEG-TS (its M3U
// playlist): the zap lines.
bool zapDemo(const QTemporaryDir &dir)
{
    QString problem;
    DemoMedia media = DemoMedia::prepare(
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/Zelfor/devportal-media",
        &problem);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "ui: %s\n", qPrintable(problem));
        return false;
    }
    const std::unique_ptr<DevPortal> portal = startPortal({}, 2, std::move(media));
    bool ok = portal->isListening();
    const std::pair<const char *, qint64> formats[] = { { "hls", 1 }, { "ts", 2 } };
    for (const auto &[format, playlist] : formats) {
        const ChildRun run = runChild({ "ui-zap", format, QString::number(playlist) },
            dir.filePath(QStringLiteral("zap-%1").arg(format)), portal->baseUrl());
        for (const QString &line : run.lines) {
            if (line.startsWith(u"zap "))
                std::printf("%s\n", qPrintable(line));
        }
        std::fflush(stdout);
        ok = ok && run.ok;
    }
    return ok;
}

// The figures of one run of the program, in the order they are printed.
constexpr const char *kFigureNames[] = { "first_frame_ms", "floor_ms", "home_counts_ms", "live_open_ms",
    "filter_key_worst_ms", "search_settled_worst_ms", "idle_cpu_pct", "peak_rss_mb", "exit_ms",
    "first_frame_ratio" };
using Figures = std::array<double, std::size(kFigureNames)>;

std::optional<Figures> runFigures(const Account &account, const QString &home, const QString &server)
{
    const ChildRun floor = runChild({ "ui-floor" }, home + "/floor", server);
    const ChildRun app = runChild(
        { "ui-app", "--filter", account.filter, "--search", account.search }, home + "/app", server);
    if (!floor.ok || !app.ok)
        return std::nullopt;
    const auto value = [&app](const char *name) { return app.values.value(name).toDouble(); };
    return Figures { app.msFromStart("frame_at"), floor.msFromStart("frame_at"), app.msFromStart("home_at"),
        value("live_open_ms"), value("filter_key_worst_ms"), value("search_settled_worst_ms"),
        value("idle_cpu_pct"), value("peak_rss_mb"),
        double(app.endedNs - app.values.value("quit_at").toLongLong()) / 1e6,
        app.msFromStart("frame_at") / floor.msFromStart("frame_at") };
}

void printFigures(const char *label, int entries, const Figures &figures)
{
    std::printf("%s n=%d", label, entries);
    for (std::size_t i = 0; i < figures.size(); ++i)
        std::printf(" %s=%.*f", kFigureNames[i], std::string_view(kFigureNames[i]).ends_with("ratio") ? 2 : 0,
            figures[i]);
    std::printf("\n");
    std::fflush(stdout);
}

// Each figure's median and worst (the highest) over the runs.
std::pair<Figures, Figures> medianAndWorst(std::vector<Figures> runs)
{
    Figures median {};
    Figures worst {};
    for (std::size_t i = 0; i < median.size(); ++i) {
        std::vector<double> values;
        for (const Figures &run : runs)
            values.push_back(run[i]);
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        median[i] = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
        worst[i] = values.back();
    }
    return { median, worst };
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').mid(0, 3).join(' ') : QByteArray("?");
}

int runUi(const QStringList &args)
{
    const std::optional<Account> account = parseAccount(args.mid(0, 2));
    const int warmRuns = args.size() == 4 && args[2] == u"--runs" ? args[3].toInt() : 0;
    if (!account || (args.size() != 2 && warmRuns <= 0))
        return 2;
    QTemporaryDir dir;
    const std::unique_ptr<DevPortal> portal = benchPortal(*account, dir);
    if (!portal || !portal->isListening())
        return 1;
    if (warmRuns > 0)
        std::printf("load_average=%s\n", loadAverage().constData());
    const std::optional<Figures> cold = runFigures(*account, dir.filePath("home"), portal->baseUrl());
    if (!cold)
        return 1;
    printFigures(warmRuns > 0 ? "ui cold" : "ui", account->entries, *cold);
    std::vector<Figures> warm;
    for (int run = 0; run < warmRuns; ++run) {
        const std::optional<Figures> figures = runFigures(*account, dir.filePath("home"), portal->baseUrl());
        if (!figures)
            return 1;
        printFigures("ui warm", account->entries, *figures);
        warm.push_back(*figures);
    }
    if (!warm.empty()) {
        const auto [median, worst] = medianAndWorst(warm);
        printFigures("ui median", account->entries, median);
        printFigures("ui worst", account->entries, worst);
    }
    return zapDemo(dir) ? 0 : 1;
}

// The floor: a plain Qt Quick window of the program's size, from start to its first frame.
int runUiFloor(const QStringList &)
{
    QQmlApplicationEngine engine;
    engine.loadData("import QtQuick\nWindow { width: 1360; height: 840; visible: true; color: \"#0b0f1a\" }");
    auto *window = engine.rootObjects().isEmpty()
        ? nullptr
        : qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window)
        return 1;
    bool shown = false;
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [&shown] {
        if (!std::exchange(shown, true)) {
            std::printf("frame_at=%lld\n", static_cast<long long>(monotonicNs()));
            std::fflush(stdout);
        }
        },
        Qt::DirectConnection);
    waitUntil([&shown] { return shown; }, 30000);
    return shown ? 0 : 1;
}

constexpr BenchCommand kCommands[] = {
    { "ui", "--m3u N | --xtream LIVE,FILMS,SERIES [--runs N]   (the whole program; see UiBench.cpp)", runUi },
    { "ui-floor", "(started by ui)", runUiFloor },
};

} // namespace

std::span<const BenchCommand> uiBenchCommands()
{
    return kCommands;
}
