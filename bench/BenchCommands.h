#pragma once

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
std::span<const BenchCommand> firstFrameBenchCommands();

// Small deterministic generator, so generated inputs and runs are comparable.
class Sequence {
public:
    explicit Sequence(quint64 seed) : m_state(seed) {}
    quint32 next(quint32 bound)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return quint32(m_state >> 33) % bound;
    }

private:
    quint64 m_state;
};

// Peak resident memory of this process so far, in MB.
long peakRssMb();
// The file's bytes, `repeat` copies one after another (each ending with a line end).
QByteArray readRepeated(const QString &path, int repeat);
