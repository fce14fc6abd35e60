#include "DeviceIdentity.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

namespace {

const QString kDeviceTreeModel = QStringLiteral("/proc/device-tree/model");
const QString kDmiProductName = QStringLiteral("/sys/class/dmi/id/product_name");
const QString kDmiVendor = QStringLiteral("/sys/class/dmi/id/sys_vendor");
const QStringList kOsReleaseFiles
    = { QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release") };

constexpr qint64 kMaxSystemFileBytes = 64 * 1024;

struct MacFamily {
    QLatin1String prefix;
    QLatin1String family;
};

// Hardware model identifier prefix to family name, tried in order.
const MacFamily kMacFamilies[] = {
    { QLatin1String("MacBookPro"), QLatin1String("MacBook Pro") },
    { QLatin1String("MacBookAir"), QLatin1String("MacBook Air") },
    { QLatin1String("Macmini"), QLatin1String("Mac mini") },
    { QLatin1String("iMac"), QLatin1String("iMac") },
    { QLatin1String("MacPro"), QLatin1String("Mac Pro") },
};

bool isBlankOrNul(QChar c)
{
    return c == QChar(0) || c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Trims spaces, tabs and NULs (not line breaks) from both ends.
QString trimBlanksAndNuls(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrNul(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrNul(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// A sysfs value: the text up to the first NUL, trimmed of white space and line breaks.
QString readDmiValue(const SystemFileReader &read, const QString &path)
{
    const std::optional<QByteArray> bytes = read(path);
    if (!bytes)
        return {};
    const qsizetype nul = bytes->indexOf('\0');
    return QString::fromUtf8(nul < 0 ? *bytes : bytes->left(nul)).trimmed();
}

QString deviceTreeModel(const SystemFileReader &read)
{
    const std::optional<QByteArray> bytes = read(kDeviceTreeModel);
    if (!bytes)
        return {};
    QString model = trimBlanksAndNuls(QString::fromUtf8(*bytes));
    const qsizetype paren = model.indexOf(QLatin1String(" ("));
    return paren < 0 ? model : model.left(paren);
}

// The family table is Apple's; other vendors use the same "Name7,1" form (VMware does).
bool isAppleVendor(const QString &vendor)
{
    return vendor.startsWith(QLatin1String("Apple"));
}

QString macModelName(const QString &identifier)
{
    for (const MacFamily &entry : kMacFamilies) {
        if (identifier.startsWith(entry.prefix))
            return QStringLiteral("Apple ") + entry.family;
    }
    return QStringLiteral("Apple Mac (") + identifier + QLatin1Char(')');
}

// PRETTY_NAME of an os-release file, quotes removed; empty when absent.
QString prettyName(const QByteArray &osRelease)
{
    for (const QByteArray &rawLine : osRelease.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        const QLatin1String key("PRETTY_NAME=");
        if (!line.startsWith(key))
            continue;
        QString value = line.mid(key.size()).trimmed();
        if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
            && value.back() == value.front()) {
            value = value.mid(1, value.size() - 2);
            value.replace(QLatin1String("\\\""), QLatin1String("\""));
            value.replace(QLatin1String("\\\\"), QLatin1String("\\"));
        }
        return value.trimmed();
    }
    return {};
}

} // namespace

std::optional<QByteArray> readSystemFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxSystemFileBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QString deviceModelName()
{
    return deviceModelName(readSystemFile);
}

QString deviceModelName(const SystemFileReader &read)
{
    const QString treeModel = deviceTreeModel(read);
    if (!treeModel.isEmpty())
        return treeModel;
    const QString identifier = readDmiValue(read, kDmiProductName);
    const QString vendor = readDmiValue(read, kDmiVendor);
    if (!identifier.isEmpty() && isAppleVendor(vendor))
        return macModelName(identifier);
    const QString joined = (vendor + QLatin1Char(' ') + identifier).trimmed();
    return joined.isEmpty() ? QStringLiteral("Linux PC") : joined;
}

QString osVersionString()
{
    return osVersionString(readSystemFile, QSysInfo::kernelVersion());
}

QString osVersionString(const SystemFileReader &read, const QString &kernelRelease)
{
    for (const QString &path : kOsReleaseFiles) {
        const std::optional<QByteArray> bytes = read(path);
        if (!bytes)
            continue;
        const QString name = prettyName(*bytes);
        if (!name.isEmpty())
            return name;
    }
    return (QStringLiteral("Linux ") + kernelRelease).trimmed();
}

QString normalizeServerAddress(const OptText &address)
{
    QString text = address.value_or(QString()).trimmed();
    if (text.isEmpty())
        return text;
    const QString lower = text.toLower();
    if (!lower.startsWith(QLatin1String("http://")) && !lower.startsWith(QLatin1String("https://")))
        text.prepend(QLatin1String("http://"));
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

QString portalBaseAddressFrom(const QStringList &arguments, const QString &serverVariable)
{
    const qsizetype flag = arguments.indexOf(QStringLiteral("--server"));
    if (flag >= 0 && flag + 1 < arguments.size())
        return normalizeServerAddress(arguments.at(flag + 1));
    if (!serverVariable.isEmpty())
        return normalizeServerAddress(serverVariable);
    return kDefaultPortalAddress;
}

QString portalBaseAddress()
{
    static const QString address = [] {
        const QStringList arguments = QCoreApplication::instance() ? QCoreApplication::arguments()
                                                                   : QStringList();
        return portalBaseAddressFrom(arguments, qEnvironmentVariable("ZELFOR_SERVER"));
    }();
    return address;
}
