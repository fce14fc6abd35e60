#include "BenchCommands.h"

#include <QGuiApplication>
#include <QFile>

#include <sys/resource.h>

#include <cstdio>

namespace {

using CommandList = std::span<const BenchCommand> (*)();

// Add a bench file's command list here.
constexpr CommandList kCommandLists[] = { m3uBenchCommands, realLikeM3uBenchCommands, xtreamBenchCommands,
    liveBenchCommands, searchBenchCommands, browseBenchCommands, qmlRowsBenchCommands,
    firstFrameBenchCommands, zapBenchCommands, uiBenchCommands, uiAppBenchCommands };

int usage()
{
    std::fprintf(stderr, "usage: zelfor-bench COMMAND [ARGS]\n");
    for (CommandList list : kCommandLists) {
        for (const BenchCommand &command : list())
            std::fprintf(stderr, "  %s %s\n", command.name, command.usage);
    }
    return 2;
}

} // namespace

QByteArray generatedChannelName(int i)
{
    return "FR: Channel " + QByteArray::number(i) + " HD";
}

QByteArray generatedChannelGroup(int group)
{
    return "FR | " + QByteArray::number(group) + " Channels";
}

long peakRssMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024; // kilobytes on Linux
}

QByteArray readRepeated(const QString &path, int repeat)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray once = file.readAll();
    if (!once.endsWith('\n'))
        once.append('\n');
    if (repeat == 1)
        return once;
    QByteArray all;
    all.reserve(once.size() * repeat);
    for (int i = 0; i < repeat; ++i)
        all.append(once);
    return all;
}

int main(int argc, char **argv)
{
    // QML rows are created in a window that is never shown on a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    for (CommandList list : kCommandLists) {
        for (const BenchCommand &command : list()) {
            if (name == QLatin1StringView(command.name))
                return command.run(args);
        }
    }
    return usage();
}
