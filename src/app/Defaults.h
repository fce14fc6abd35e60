#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

// The user defaults: a typed key-value store kept as one JSON file.
//
// File form: one object from key to {"type": T, "value": V}, where T is
//   "text"  -> V is a string        "int"   -> V is a decimal string (all 64 bits kept)
//   "double"-> V is a number         "bool"  -> V is true/false
//   "bytes" -> V is base64 text      "texts" -> V is an array of strings
// so every value reads back with the type it was written with. Each change rewrites
// the file atomically from entries encoded when they were set, so a small change costs
// no more than writing the file, however large other entries are. An entry of any other
// form reads as missing and is written back as it was until its key is set or removed. A file that cannot be read or is
// not a JSON object is renamed to "<file>.corrupt-<UTC time>" and the store starts
// with the whole entries still found in it (none when it could not be read), written
// to a fresh file at once; when it cannot be renamed, nothing is written during this
// run so the bad file is never lost. The folder and the file are private to the user (0700, 0600),
// and temporaries left by a killed save are removed at start.
//
// Safe to use from any thread.
class Defaults {
public:
    using Value = std::variant<QString, qint64, double, bool, QByteArray, QStringList>;

    explicit Defaults(const QString &filePath);

    // "<generic config folder>/Zelfor/defaults.json"
    static QString standardFilePath();

    QString filePath() const { return m_filePath; }
    // The file name a corrupt file was moved to at start, empty when none was.
    QString corruptBackupPath() const;

    // Whether the key holds a readable value.
    bool contains(const QString &key) const;
    std::optional<Value> value(const QString &key) const;

    // Typed reads: nothing when the key is missing or holds another type.
    std::optional<QString> text(const QString &key) const;
    std::optional<qint64> integer(const QString &key) const;
    std::optional<double> number(const QString &key) const;
    std::optional<bool> flag(const QString &key) const;
    std::optional<QByteArray> bytes(const QString &key) const;
    std::optional<QStringList> texts(const QString &key) const;

    // Each write goes to the file at once; false when the file could not be written
    // (the value is kept in memory) or the value cannot be stored (a non-finite double).
    bool set(const QString &key, const Value &value);
    bool remove(const QString &key);

private:
    template <typename T> std::optional<T> typed(const QString &key) const;
    void load();
    void removeStaleTemporaries() const;
    void moveAside();
    bool writeLocked() const;

    QString m_filePath;
    QString m_backupPath;
    bool m_writable = true;
    QHash<QString, Value> m_values;
    // Every entry as it is written to the file, `"key":{...}`; those of a form this store
    // cannot read are kept as they were found.
    QMap<QString, QByteArray> m_members;
    mutable QMutex m_mutex;
};
