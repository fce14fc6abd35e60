#include "Defaults.h"

#include "sources/PrivateFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <cmath>

namespace {

const QString kType = QStringLiteral("type");
const QString kValue = QStringLiteral("value");

// Largest file we accept; anything bigger is treated as corrupt.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

QJsonObject entry(const QString &type, const QJsonValue &value)
{
    return QJsonObject { { kType, type }, { kValue, value } };
}

QJsonObject encode(const Defaults::Value &value)
{
    struct Encoder {
        QJsonObject operator()(const QString &v) const { return entry(QStringLiteral("text"), v); }
        QJsonObject operator()(qint64 v) const { return entry(QStringLiteral("int"), QString::number(v)); }
        QJsonObject operator()(double v) const { return entry(QStringLiteral("double"), v); }
        QJsonObject operator()(bool v) const { return entry(QStringLiteral("bool"), v); }
        QJsonObject operator()(const QByteArray &v) const
        {
            return entry(QStringLiteral("bytes"), QString::fromLatin1(v.toBase64()));
        }
        QJsonObject operator()(const QStringList &v) const
        {
            return entry(QStringLiteral("texts"), QJsonArray::fromStringList(v));
        }
    };
    return std::visit(Encoder {}, value);
}

std::optional<QStringList> decodeTexts(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &element : value.toArray()) {
        if (!element.isString())
            return std::nullopt;
        list.append(element.toString());
    }
    return list;
}

std::optional<Defaults::Value> decode(const QJsonValue &stored)
{
    const QJsonObject object = stored.toObject();
    const QString type = object.value(kType).toString();
    const QJsonValue value = object.value(kValue);
    if (type == QLatin1String("text") && value.isString())
        return value.toString();
    if (type == QLatin1String("int") && value.isString()) {
        bool ok = false;
        const qint64 number = value.toString().toLongLong(&ok);
        return ok ? std::optional<Defaults::Value>(number) : std::nullopt;
    }
    if (type == QLatin1String("double") && value.isDouble())
        return value.toDouble();
    if (type == QLatin1String("bool") && value.isBool())
        return value.toBool();
    if (type == QLatin1String("bytes") && value.isString()) {
        auto result = QByteArray::fromBase64Encoding(
            value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        return result ? std::optional<Defaults::Value>(*result) : std::nullopt;
    }
    if (type == QLatin1String("texts")) {
        if (auto list = decodeTexts(value))
            return *list;
    }
    return std::nullopt;
}

// One member of the file's object, `"key":{...}`, as compact JSON.
QByteArray member(const QString &key, const QJsonValue &stored)
{
    const QByteArray object = QJsonDocument(QJsonObject { { key, stored } }).toJson(QJsonDocument::Compact);
    return object.sliced(1, object.size() - 2);
}

struct StoredEntries {
    QHash<QString, Defaults::Value> values;
    QMap<QString, QByteArray> members;
};

StoredEntries entriesOf(const QJsonObject &root)
{
    StoredEntries entries;
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (auto value = decode(it.value()))
            entries.values.insert(it.key(), *value);
        entries.members.insert(it.key(), member(it.key(), it.value()));
    }
    return entries;
}

// The entries of a stored file; nothing when it is not a JSON object.
std::optional<StoredEntries> parseFile(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return entriesOf(document.object());
}

// The whole `"key": {...}` entries still found in a file that is not JSON as a whole (cut
// short, partly overwritten): each entry holds no braces outside its strings.
StoredEntries salvageEntries(const QByteArray &bytes)
{
    static const QRegularExpression entry(
        QStringLiteral(R"re("(?:[^"\\]++|\\.)*+"\s*+:\s*+\{(?:[^{}"]++|"(?:[^"\\]++|\\.)*+")*+\})re"));
    QJsonObject root;
    const QString text = QString::fromUtf8(bytes);
    for (auto it = entry.globalMatch(text); it.hasNext();) {
        const QString found = it.next().captured();
        const QJsonDocument one
            = QJsonDocument::fromJson((QLatin1Char('{') + found + QLatin1Char('}')).toUtf8());
        const QJsonObject object = one.object();
        for (auto member = object.begin(); member != object.end(); ++member)
            root.insert(member.key(), member.value());
    }
    return entriesOf(root);
}

} // namespace

Defaults::Defaults(const QString &filePath)
    : m_filePath(filePath)
{
    load();
}

QString Defaults::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Zelfor/defaults.json");
}

QString Defaults::corruptBackupPath() const
{
    QMutexLocker lock(&m_mutex);
    return m_backupPath;
}

void Defaults::removeStaleTemporaries() const
{
    // A save killed before its rename leaves "<file>.XXXXXX" behind.
    const QFileInfo info(m_filePath);
    static const QRegularExpression temporary(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
    const QDir folder = info.absoluteDir();
    for (const QString &name :
        folder.entryList({ info.fileName() + QStringLiteral(".??????") }, QDir::Files | QDir::Hidden)) {
        if (temporary.match(QStringView(name).sliced(info.fileName().size())).hasMatch())
            QFile::remove(folder.filePath(name));
    }
}

void Defaults::load()
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (QFileInfo::exists(folder))
        makePrivateFolder(folder);
    removeStaleTemporaries();
    QFile file(m_filePath);
    if (!file.exists())
        return;
    makePrivateFile(m_filePath);
    std::optional<StoredEntries> entries;
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        if (file.size() <= kMaxFileBytes) {
            bytes = file.readAll();
            if (file.error() == QFileDevice::NoError && bytes.size() <= kMaxFileBytes)
                entries = parseFile(bytes);
            else
                bytes.clear();
        }
        file.close();
    }
    const bool corrupt = !entries;
    if (corrupt) {
        moveAside();
        // What can still be read is kept, the device's address above all: a new one
        // would make this a new device to the portal.
        entries = salvageEntries(bytes);
    }
    m_values = std::move(entries->values);
    m_members = std::move(entries->members);
    // The file was set aside: what was saved from it is stored anew at once.
    if (corrupt && !m_members.isEmpty())
        writeLocked();
}

void Defaults::moveAside()
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString target = m_filePath + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = m_filePath + QStringLiteral(".corrupt-") + stamp + QLatin1Char('-') + QString::number(n);
    if (QFile::rename(m_filePath, target))
        m_backupPath = target;
    else
        m_writable = false;
}

bool Defaults::contains(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_values.contains(key);
}

std::optional<Defaults::Value> Defaults::value(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

template <typename T> std::optional<T> Defaults::typed(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_values.constFind(key);
    if (it == m_values.constEnd() || !std::holds_alternative<T>(*it))
        return std::nullopt;
    return std::get<T>(*it);
}

std::optional<QString> Defaults::text(const QString &key) const
{
    return typed<QString>(key);
}
std::optional<qint64> Defaults::integer(const QString &key) const
{
    return typed<qint64>(key);
}
std::optional<double> Defaults::number(const QString &key) const
{
    return typed<double>(key);
}
std::optional<bool> Defaults::flag(const QString &key) const
{
    return typed<bool>(key);
}
std::optional<QByteArray> Defaults::bytes(const QString &key) const
{
    return typed<QByteArray>(key);
}
std::optional<QStringList> Defaults::texts(const QString &key) const
{
    return typed<QStringList>(key);
}

bool Defaults::set(const QString &key, const Value &value)
{
    if (const double *number = std::get_if<double>(&value); number && !std::isfinite(*number))
        return false;
    QByteArray encoded = member(key, encode(value));
    QMutexLocker lock(&m_mutex);
    m_values.insert(key, value);
    m_members.insert(key, std::move(encoded));
    return writeLocked();
}

bool Defaults::remove(const QString &key)
{
    QMutexLocker lock(&m_mutex);
    m_values.remove(key);
    if (!m_members.remove(key))
        return true;
    return writeLocked();
}

bool Defaults::writeLocked() const
{
    if (!m_writable)
        return false;
    if (!makePrivateFolder(QFileInfo(m_filePath).absolutePath()))
        return false;
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(kPrivateFile))
        return false;
    file.write("{");
    for (auto it = m_members.cbegin(); it != m_members.cend(); ++it) {
        file.write(it == m_members.cbegin() ? "\n    " : ",\n    ");
        file.write(*it);
    }
    file.write("\n}\n");
    return file.commit();
}
