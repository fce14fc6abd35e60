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

SystemFileReader readerOf(const QHash<QString, QByteArray> &files)
{
    return [files](const QString &path) -> std::optional<QByteArray> {
        const auto it = files.constFind(path);
        return it == files.constEnd() ? std::nullopt : std::optional(*it);
    };
}

struct ModelCase {
    const char *name;
    QHash<QString, QByteArray> files;
    QString expected;
};

class ModelName : public ::testing::TestWithParam<ModelCase> { };

TEST_P(ModelName, FromDeviceTreeOrDmi)
{
    EXPECT_EQ(deviceModelName(readerOf(GetParam().files)), GetParam().expected);
}

const QByteArray kAppleVendor("Apple Inc.\n");

INSTANTIATE_TEST_SUITE_P(Machines, ModelName,
    ::testing::Values(ModelCase { "treeCutBeforeParenthesis",
                          { { kTreeModel, QByteArray("Apple MacBook Air (M2, 2022)\0", 29) } },
                          QStringLiteral("Apple MacBook Air") },
        ModelCase { "treeBoard",
            { { kTreeModel, QByteArray(" Raspberry Pi 4 Model B Rev 1.4\0\0", 33) },
                { kProduct, "MacBookPro18,3\n" } },
            QStringLiteral("Raspberry Pi 4 Model B Rev 1.4") },
        ModelCase { "blankTreeFallsBackToDmi",
            { { kTreeModel, QByteArray(" \0", 2) }, { kProduct, "MacBookPro18,3\n" },
                { kVendor, kAppleVendor } },
            QStringLiteral("Apple MacBook Pro") },
        ModelCase { "treeOfNulsOnly", { { kTreeModel, QByteArray("\0\0", 2) }, { kProduct, "iMac21,1\n" } },
            QStringLiteral("Apple iMac") },
        ModelCase { "macBookAir", { { kProduct, "MacBookAir10,1\n" }, { kVendor, kAppleVendor } },
            QStringLiteral("Apple MacBook Air") },
        ModelCase { "macMini", { { kProduct, "Macmini9,1\n" } }, QStringLiteral("Apple Mac mini") },
        ModelCase { "macPro", { { kProduct, "MacPro7,1\n" } }, QStringLiteral("Apple Mac Pro") },
        ModelCase { "macWithoutFamily", { { kProduct, "Mac14,2\n" }, { kVendor, kAppleVendor } },
            QStringLiteral("Apple Mac (Mac14,2)") },
        ModelCase { "macBookWithoutFamily", { { kProduct, "MacBook10,1" } },
            QStringLiteral("Apple Mac (MacBook10,1)") },
        ModelCase { "appleVendorOddProduct", { { kProduct, "Unknown\n" }, { kVendor, kAppleVendor } },
            QStringLiteral("Apple Mac (Unknown)") },
        ModelCase { "pc", { { kProduct, "20HRCTO1WW\n" }, { kVendor, "LENOVO\n" } },
            QStringLiteral("LENOVO 20HRCTO1WW") },
        ModelCase { "pcWithNul",
            { { kProduct, QByteArray("OptiPlex 7070\n\0junk", 19) }, { kVendor, "Dell Inc." } },
            QStringLiteral("Dell Inc. OptiPlex 7070") },
        ModelCase { "vendorOnly", { { kVendor, "QEMU\n" } }, QStringLiteral("QEMU") },
        ModelCase { "productOnly", { { kProduct, "Standard PC (Q35 + ICH9, 2009)\n" } },
            QStringLiteral("Standard PC (Q35 + ICH9, 2009)") },
        ModelCase { "nothingReadable", {}, QStringLiteral("Linux PC") },
        ModelCase { "onlyBlanks", { { kProduct, "  \n" }, { kVendor, "\n" } }, QStringLiteral("Linux PC") }),
    [](const auto &info) { return std::string(info.param.name); });

struct OsCase {
    const char *name;
    QHash<QString, QByteArray> files;
    QString expected;
};

class OsVersion : public ::testing::TestWithParam<OsCase> { };

TEST_P(OsVersion, FromOsReleaseElseKernel)
{
    EXPECT_EQ(
        osVersionString(readerOf(GetParam().files), QStringLiteral("6.1.0-18-amd64")), GetParam().expected);
}

const QByteArray kDebian = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                           "VERSION_ID=\"12\"\nID=debian\n";

INSTANTIATE_TEST_SUITE_P(Files, OsVersion,
    ::testing::Values(
        OsCase { "debian", { { kEtcOsRelease, kDebian } }, QStringLiteral("Debian GNU/Linux 12 (bookworm)") },
        OsCase { "notFirstLine", { { kEtcOsRelease, "NAME=Fedora\n  PRETTY_NAME='Fedora Linux 39'  \n" } },
            QStringLiteral("Fedora Linux 39") },
        OsCase { "unquoted", { { kEtcOsRelease, "PRETTY_NAME=Arch\n" } }, QStringLiteral("Arch") },
        OsCase { "escapedQuote", { { kEtcOsRelease, "PRETTY_NAME=\"My \\\"Box\\\"\"\n" } },
            QStringLiteral("My \"Box\"") },
        OsCase { "otherKeyWithSameEnding", { { kEtcOsRelease, "X_PRETTY_NAME=\"No\"\n" } },
            QStringLiteral("Linux 6.1.0-18-amd64") },
        OsCase { "emptyPrettyName", { { kEtcOsRelease, "PRETTY_NAME=\"\"\n" } },
            QStringLiteral("Linux 6.1.0-18-amd64") },
        OsCase {
            "libCopy", { { kLibOsRelease, kDebian } }, QStringLiteral("Debian GNU/Linux 12 (bookworm)") },
        OsCase { "noFile", {}, QStringLiteral("Linux 6.1.0-18-amd64") }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(OsVersionKernel, EmptyReleaseGivesPlainLinux)
{
    EXPECT_EQ(osVersionString(readerOf({}), QString()), QStringLiteral("Linux"));
}

struct AddressCase {
    const char *name;
    OptText input;
    QString expected;
};

class NormalizeAddress : public ::testing::TestWithParam<AddressCase> { };

TEST_P(NormalizeAddress, AddsSchemeAndDropsTrailingSlashes)
{
    EXPECT_EQ(normalizeServerAddress(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, NormalizeAddress,
    ::testing::Values(AddressCase { "absent", std::nullopt, QString() },
        AddressCase { "blank", QStringLiteral(" \n\t "), QString() },
        AddressCase {
            "hostAndPort", QStringLiteral("myportal:8080/"), QStringLiteral("http://myportal:8080") },
        AddressCase { "upperScheme", QStringLiteral("HTTPS://Portal.example///"),
            QStringLiteral("HTTPS://Portal.example") },
        AddressCase {
            "http", QStringLiteral("http://127.0.0.1:9/p"), QStringLiteral("http://127.0.0.1:9/p") },
        AddressCase {
            "surroundingSpace", QStringLiteral("\n myportal \t"), QStringLiteral("http://myportal") },
        AddressCase { "otherScheme", QStringLiteral("ftp://x/"), QStringLiteral("http://ftp://x") }),
    [](const auto &info) { return std::string(info.param.name); });

struct PortalCase {
    const char *name;
    QStringList arguments;
    QString variable;
    QString expected;
};

class PortalAddress : public ::testing::TestWithParam<PortalCase> { };

TEST_P(PortalAddress, ArgumentThenEnvironmentThenDefault)
{
    EXPECT_EQ(portalBaseAddressFrom(GetParam().arguments, GetParam().variable), GetParam().expected);
}

const QString kApp = QStringLiteral("/usr/bin/zelfor");
const QString kServer = QStringLiteral("--server");

INSTANTIATE_TEST_SUITE_P(Sources, PortalAddress,
    ::testing::Values(PortalCase { "argument", { kApp, kServer, QStringLiteral("myportal:8080/") },
                          QStringLiteral("env"), QStringLiteral("http://myportal:8080") },
        PortalCase { "firstArgumentWins",
            { kApp, kServer, QStringLiteral("https://a/"), kServer, QStringLiteral("b") }, {},
            QStringLiteral("https://a") },
        PortalCase { "blankArgumentIsEmpty", { kApp, kServer, QStringLiteral("  ") }, QStringLiteral("env"),
            QString() },
        PortalCase { "serverLastUsesEnvironment", { kApp, kServer }, QStringLiteral(" myportal "),
            QStringLiteral("http://myportal") },
        PortalCase {
            "serverLastNoEnvironment", { kApp, kServer }, {}, QStringLiteral("https://portal.zelfor.tv") },
        PortalCase { "equalsFormIsNotTheOption", { kApp, QStringLiteral("--server=x") }, {},
            QStringLiteral("https://portal.zelfor.tv") },
        PortalCase { "programPathCounts", { kServer, QStringLiteral("p") }, {}, QStringLiteral("http://p") },
        PortalCase { "noArguments", {}, {}, QStringLiteral("https://portal.zelfor.tv") }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PortalBaseAddress, ComputedOnceForTheRunFromAnyThread)
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

TEST(SystemFile, ReadsWholeFileOrNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("model"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Board\0", 6));
    file.close();
    EXPECT_EQ(readSystemFile(path), QByteArray("Board\0", 6));
    EXPECT_FALSE(readSystemFile(dir.filePath(QStringLiteral("missing"))));
}

} // namespace
