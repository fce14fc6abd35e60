#include "sources/DeviceIdentity.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>

namespace {

const QString kTreeModel = QStringLiteral("/proc/device-tree/model");
const QString kProduct = QStringLiteral("/sys/class/dmi/id/product_name");
const QString kVendor = QStringLiteral("/sys/class/dmi/id/sys_vendor");
const QString kEtcOsRelease = QStringLiteral("/etc/os-release");
const QString kLibOsRelease = QStringLiteral("/usr/lib/os-release");
const QByteArray kApple("Apple Inc.\n");
const QByteArray kDebian = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                           "VERSION_ID=\"12\"\nID=debian\n";

using Files = QHash<QString, QByteArray>;

SystemFileReader readerOf(const Files &files)
{
    return [files](const QString &path) -> std::optional<QByteArray> {
        const auto it = files.constFind(path);
        return it == files.constEnd() ? std::nullopt : std::optional(*it);
    };
}

TEST(DeviceIdentity, ModelNameFromDeviceTreeOrDmi)
{
    const std::pair<Files, const char *> cases[] = {
        { { { kTreeModel, QByteArray("Apple MacBook Air (M2, 2022)\0", 29) } }, "Apple MacBook Air" },
        { { { kTreeModel, QByteArray(" Raspberry Pi 4 Model B Rev 1.4\0\0", 33) },
              { kProduct, "MacBookPro18,3\n" } },
            "Raspberry Pi 4 Model B Rev 1.4" },
        { { { kTreeModel, QByteArray(" \0", 2) }, { kProduct, "MacBookPro18,3\n" }, { kVendor, kApple } },
            "Apple MacBook Pro" },
        { { { kTreeModel, QByteArray("\0\0", 2) }, { kProduct, "iMac21,1\n" }, { kVendor, kApple } },
            "Apple iMac" },
        { { { kProduct, "MacBookAir10,1\n" }, { kVendor, kApple } }, "Apple MacBook Air" },
        { { { kProduct, "Macmini9,1\n" }, { kVendor, kApple } }, "Apple Mac mini" },
        { { { kProduct, "MacPro7,1\n" }, { kVendor, kApple } }, "Apple Mac Pro" },
        { { { kProduct, "Mac14,2\n" }, { kVendor, kApple } }, "Apple Mac (Mac14,2)" },
        { { { kProduct, "MacBook10,1" }, { kVendor, kApple } }, "Apple Mac (MacBook10,1)" },
        // the family table is Apple's: a virtual machine's "VMware7,1" is no Mac
        { { { kProduct, "VMware7,1\n" }, { kVendor, "VMware, Inc.\n" } }, "VMware, Inc. VMware7,1" },
        { { { kProduct, "iMac21,1\n" } }, "iMac21,1" },
        { { { kProduct, "Unknown\n" }, { kVendor, kApple } }, "Apple Mac (Unknown)" },
        { { { kProduct, "20HRCTO1WW\n" }, { kVendor, "LENOVO\n" } }, "LENOVO 20HRCTO1WW" },
        { { { kProduct, QByteArray("OptiPlex 7070\n\0junk", 19) }, { kVendor, "Dell Inc." } },
            "Dell Inc. OptiPlex 7070" },
        { { { kVendor, "QEMU\n" } }, "QEMU" },
        { { { kProduct, "Standard PC (Q35 + ICH9, 2009)\n" } }, "Standard PC (Q35 + ICH9, 2009)" },
        { {}, "Linux PC" },
        { { { kProduct, "  \n" }, { kVendor, "\n" } }, "Linux PC" },
    };
    for (const auto &[files, expected] : cases)
        EXPECT_EQ(deviceModelName(readerOf(files)), QString::fromUtf8(expected));
}

TEST(DeviceIdentity, OsVersionFromOsReleaseElseKernel)
{
    const char *kernel = "Linux 6.1.0-18-amd64";
    const std::pair<Files, const char *> cases[] = {
        { { { kEtcOsRelease, kDebian } }, "Debian GNU/Linux 12 (bookworm)" },
        { { { kEtcOsRelease, "NAME=Fedora\n  PRETTY_NAME='Fedora Linux 39'  \n" } }, "Fedora Linux 39" },
        { { { kEtcOsRelease, "PRETTY_NAME=Arch\n" } }, "Arch" },
        { { { kEtcOsRelease, "PRETTY_NAME=\"My \\\"Box\\\"\"\n" } }, "My \"Box\"" },
        { { { kEtcOsRelease, "X_PRETTY_NAME=\"No\"\n" } }, kernel },
        { { { kEtcOsRelease, "PRETTY_NAME=\"\"\n" } }, kernel },
        { { { kLibOsRelease, kDebian } }, "Debian GNU/Linux 12 (bookworm)" },
        { {}, kernel },
    };
    for (const auto &[files, expected] : cases)
        EXPECT_EQ(
            osVersionString(readerOf(files), QStringLiteral("6.1.0-18-amd64")), QString::fromUtf8(expected));
    EXPECT_EQ(osVersionString(readerOf({}), QString()), QStringLiteral("Linux"));
}

TEST(DeviceIdentity, ServerAddressGetsSchemeAndLosesTrailingSlashes)
{
    const std::pair<OptText, const char *> cases[] = { { std::nullopt, "" }, { " \n\t ", "" },
        { "myportal:8080/", "http://myportal:8080" },
        { "HTTPS://Portal.example///", "HTTPS://Portal.example" },
        { "http://127.0.0.1:9/p", "http://127.0.0.1:9/p" }, { "\n myportal \t", "http://myportal" },
        { "ftp://x/", "http://ftp://x" } };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(normalizeServerAddress(input), QString::fromUtf8(expected)) << expected;
}

TEST(DeviceIdentity, PortalAddressFromArgumentThenEnvironmentThenDefault)
{
    const QString app = QStringLiteral("/usr/bin/zelfor");
    const QString server = QStringLiteral("--server");
    const char *portal = "https://portal.zelfor.tv";
    const struct {
        QStringList arguments;
        QString variable;
        const char *expected;
    } cases[] = {
        { { app, server, "myportal:8080/" }, "env", "http://myportal:8080" },
        { { app, server, "https://a/", server, "b" }, {}, "https://a" },
        { { app, server, "  " }, "env", "" },
        { { app, server }, " myportal ", "http://myportal" },
        { { app, server }, {}, portal },
        { { app, "--server=x" }, {}, portal },
        { { server, "p" }, {}, "http://p" },
        { {}, {}, portal },
    };
    for (const auto &c : cases)
        EXPECT_EQ(portalBaseAddressFrom(c.arguments, c.variable), QString::fromUtf8(c.expected))
            << c.arguments.join(u' ').toStdString();
}

TEST(DeviceIdentity, PortalAddressIsComputedOnceForTheRunFromAnyThread)
{
    const QString expected
        = portalBaseAddressFrom(QCoreApplication::arguments(), qEnvironmentVariable("ZELFOR_SERVER"));
    std::vector<QString> seen(8);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = portalBaseAddress(); });
    for (std::thread &thread : threads)
        thread.join();
    for (const QString &address : seen)
        EXPECT_EQ(address, expected);

    const QByteArray before = qgetenv("ZELFOR_SERVER");
    qputenv("ZELFOR_SERVER", "http://127.0.0.1:1");
    EXPECT_EQ(portalBaseAddress(), expected);
    qputenv("ZELFOR_SERVER", before);
}

TEST(DeviceIdentity, SystemFileIsReadWholeOrNotAtAll)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("model")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Board\0", 6));
    file.close();
    EXPECT_EQ(readSystemFile(file.fileName()), QByteArray("Board\0", 6));
    EXPECT_FALSE(readSystemFile(dir.filePath(QStringLiteral("missing"))));
}

} // namespace
