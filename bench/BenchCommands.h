#pragma once

#include "model/Records.h"

#include <QByteArray>
#include <QStringList>

#include <span>

// One subcommand of zelfor-bench: `run` gets the arguments after the name, prints one
// result line and returns the exit code.
struct BenchCommand {
    const char *name;
    const char *usage;
    int (*run)(const QStringList &args);
};

// Each bench file offers its commands through one function, listed in main.cpp.
std::span<const BenchCommand> m3uBenchCommands();
std::span<const BenchCommand> realLikeM3uBenchCommands();
std::span<const BenchCommand> xtreamBenchCommands();
std::span<const BenchCommand> qmlRowsBenchCommands();
std::span<const BenchCommand> liveBenchCommands();
std::span<const BenchCommand> searchBenchCommands();
std::span<const BenchCommand> browseBenchCommands();
std::span<const BenchCommand> firstFrameBenchCommands();
std::span<const BenchCommand> zapBenchCommands();
std::span<const BenchCommand> uiBenchCommands();
std::span<const BenchCommand> uiAppBenchCommands();

// Small deterministic generator, so generated inputs and runs are comparable.
class Sequence {
public:
    explicit Sequence(quint64 seed)
        : m_state(seed)
    {
    }
    quint32 next(quint32 bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(m_state >> 33) % bound;
    }

private:
    quint64 m_state;
};

// A generated provider answer: a get_vod_streams (movie) or get_series (series) body.
QByteArray generatedXtreamStreams(int count, ContentType type);
// Generated channels: "FR: Channel <i> HD" in the group "FR | <group> Channels".
QByteArray generatedChannelName(int i);
QByteArray generatedChannelGroup(int group);

// A playlist shaped like the public country and category lists, `count` entries.
QByteArray realLikeM3u(int count);

// A film title as the generated provider lists write it ("Movie Title 12 (1987) édition").
QString movieName(int id, Sequence &random);

// Peak resident memory of this process so far, in MB.
long peakRssMb();
// The file's bytes, `repeat` copies one after another (each ending with a line end).
QByteArray readRepeated(const QString &path, int repeat);
