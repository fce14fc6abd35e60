#include "DevPortal.h"

#include <QCommandLineParser>
#include <QHash>
#include <QGuiApplication>
#include <QStandardPaths>

#include <cstdio>

namespace {

struct ParsedOptions {
    DevPortalOptions portal;
    QString mediaDir;
};

std::optional<ParsedOptions> parse(const QCoreApplication &app, QString *problem)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Device portal and demo provider for Zelfor, on 127.0.0.1."));
    parser.addHelpOption();
    const QCommandLineOption port(
        { "p", "port" }, QStringLiteral("Port to listen on (default 8787)."), "port", "8787");
    const QCommandLineOption playlists(QStringLiteral("playlists"),
        QStringLiteral("Demo playlists of the device: 0, 1 or 2 (default 2)."), "count", "2");
    const QCommandLineOption fail(
        QStringLiteral("fail"), QStringLiteral("Answer the device request with this HTTP status."), "status");
    const QCommandLineOption media(
        QStringLiteral("media-dir"), QStringLiteral("Folder of the generated clips."), "folder");
    const QList<QCommandLineOption> extraOptions {
        { optionName(ExtraPlaylist::Kind::m3uFile), QStringLiteral("Add a local M3U file as a playlist."),
            "NAME=FILE" },
        { optionName(ExtraPlaylist::Kind::xtreamDir),
            QStringLiteral(
                "Add an Xtream-Codes account answered from captured files (auth.json, <action>.json)."),
            "NAME=DIR" },
        { optionName(ExtraPlaylist::Kind::m3uUrl), QStringLiteral("Add a remote M3U address as it stands."),
            "NAME=URL" },
        { optionName(ExtraPlaylist::Kind::xtreamAccount),
            QStringLiteral("Add a remote Xtream-Codes account as it stands."), "NAME=SERVER,USER,PASS" },
    };
    parser.addOptions({ port, playlists, fail, media });
    parser.addOptions(extraOptions);
    parser.process(app);

    bool ok = false;
    ParsedOptions options;
    options.portal.port = parser.value(port).toUShort(&ok);
    if (!ok)
        return *problem = QStringLiteral("--port needs a number from 0 to 65535"), std::nullopt;
    options.portal.playlists = parser.value(playlists).toInt(&ok);
    if (!ok || options.portal.playlists < 0 || options.portal.playlists > 2)
        return *problem = QStringLiteral("--playlists needs 0, 1 or 2"), std::nullopt;
    if (parser.isSet(fail)) {
        options.portal.failStatus = parser.value(fail).toInt(&ok);
        if (!ok || options.portal.failStatus < 300 || options.portal.failStatus > 599)
            return *problem = QStringLiteral("--fail needs an HTTP status from 300 to 599"), std::nullopt;
    }
    // Added playlists keep the order of the command line, across the four options.
    QHash<QString, qsizetype> taken;
    for (const QString &name : parser.optionNames()) {
        const std::optional<ExtraPlaylist::Kind> kind = extraPlaylistKind(name);
        if (!kind)
            continue;
        const QString text = parser.values(name).value(taken[name]++);
        const std::optional<ExtraPlaylist> extra = parseExtraPlaylist(*kind, text, problem);
        if (!extra)
            return std::nullopt;
        options.portal.extras.append(*extra);
    }
    options.mediaDir = parser.isSet(media)
        ? parser.value(media)
        : QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/Zelfor/devportal-media");
    return options;
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures are painted off screen; the tool opens no window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString problem;
    const std::optional<ParsedOptions> options = parse(app, &problem);
    if (!options) {
        std::fprintf(stderr, "zelfor-devportal: %s\n", qPrintable(problem));
        return 2;
    }
    std::printf("Preparing the demo clips in %s ...\n", qPrintable(options->mediaDir));
    std::fflush(stdout);
    DemoMedia media = DemoMedia::prepare(options->mediaDir, &problem);
    if (!problem.isEmpty())
        std::fprintf(stderr, "zelfor-devportal: streams are off: %s\n", qPrintable(problem));
    DevPortal portal(options->portal, std::move(media));
    if (!portal.isListening()) {
        std::fprintf(stderr, "zelfor-devportal: cannot listen on port %u: %s\n",
            unsigned(options->portal.port), qPrintable(portal.errorString()));
        return 1;
    }
    std::printf("Zelfor demo portal on %s\n", qPrintable(portal.baseUrl()));
    std::fflush(stdout);
    return app.exec();
}
