// The settings file reader: any file opens without failing, what is salvaged from a
// corrupt one is stored soundly, and a file that opens survives a rewrite: every entry
// reads back as it was, readable or not.
#include "FuzzCheck.h"
#include "app/Defaults.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("defaults.json"));
    QFile::remove(path);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    Defaults first(path);
    if (!first.corruptBackupPath().isEmpty()) {
        QFile::remove(first.corruptBackupPath());
        // What was salvaged from it went to a sound file.
        FUZZ_CHECK(Defaults(path).corruptBackupPath().isEmpty());
        return 0;
    }
    const QJsonObject before
        = QJsonDocument::fromJson(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))).object();
    const QString probe = QStringLiteral("fuzz.probe");
    if (before.contains(probe))
        return 0;
    FUZZ_CHECK(first.set(probe, true));
    Defaults second(path);
    FUZZ_CHECK(second.corruptBackupPath().isEmpty());
    FUZZ_CHECK(second.flag(probe) == true);
    QFile rewritten(path);
    FUZZ_CHECK(rewritten.open(QIODevice::ReadOnly));
    const QJsonObject after = QJsonDocument::fromJson(rewritten.readAll()).object();
    for (auto it = before.begin(); it != before.end(); ++it) {
        FUZZ_CHECK(second.value(it.key()) == first.value(it.key()));
        if (!first.contains(it.key()))
            FUZZ_CHECK(after.value(it.key()) == it.value());
    }
    return 0;
}
