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
std::span<const BenchCommand> xtreamBenchCommands();

// Peak resident memory of this process so far, in MB.
long peakRssMb();
// The file's bytes, `repeat` copies one after another (each ending with a line end).
QByteArray readRepeated(const QString &path, int repeat);
