#include "ActivationFixture.h"
#include "RunTask.h"
#include "app/QrCode.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct PeriodicCase {
    const char *name;
    int playlists; // -1: no device record
    int depth;
    bool asks;
};

class ActivationPeriodic : public ActivationFixture, public ::testing::WithParamInterface<PeriodicCase> {};

TEST_P(ActivationPeriodic, AsksEveryThirtySecondsUnlessDone)
{
    if (GetParam().playlists >= 0)
        fixture.cacheDevice(AppStateFixture::device(QList<qint64>(GetParam().playlists, 7)));
    server.serve(kDevicePath, LoopbackResponse::withStatus(500));
    start(GetParam().depth);
    for (int round = 0; round < 2; ++round) {
        fixture.clock.advance(ActivationScreen::kPeriodMs - 1);
        EXPECT_FALSE(screen->busy());
        fixture.clock.advance(1);
        EXPECT_EQ(screen->busy(), GetParam().asks) << round;
        ASSERT_TRUE(QTest::qWaitFor([this] { return !screen->busy(); }));
        EXPECT_EQ(server.requestCount(kDevicePath), GetParam().asks ? round + 1 : 0);
        // Silent: a failure shows no toast.
        EXPECT_FALSE(fixture.state->toastVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(Rounds, ActivationPeriodic,
    ::testing::Values(PeriodicCase { "noRecord", -1, 1, true }, PeriodicCase { "noPlaylistsPushed", 0, 2, true },
        PeriodicCase { "playlistsAlone", 1, 1, true }, PeriodicCase { "playlistsPushedSkips", 1, 2, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, PeriodicRefreshReRootsSilently)
{
    server.serve(kDevicePath, LoopbackResponse::json(portalRecord(1)));
    start();
    fixture.clock.advance(ActivationScreen::kPeriodMs);
    ASSERT_TRUE(QTest::qWaitFor([this] { return route() == QLatin1String("home"); }));
    EXPECT_FALSE(fixture.state->toastVisible());
}

TEST_F(ActivationFixture, GoneScreenStopsAsking)
{
    start();
    EXPECT_EQ(fixture.clock.pending(), 1);
    screen.reset();
    EXPECT_EQ(fixture.clock.pending(), 0);
    fixture.clock.advance(3 * ActivationScreen::kPeriodMs);
    EXPECT_EQ(server.requestCount(kDevicePath), 0);
}

struct CopyCase {
    const char *name;
    bool both;
    QString text;
};

class ActivationCopy : public ActivationFixture, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(ActivationCopy, WritesTheClipboardAndToasts)
{
    fixture.cacheDevice(AppStateFixture::device({ 7 }));
    start();
    QGuiApplication::clipboard()->setText(QStringLiteral("stale"));
    if (GetParam().both)
        screen->copyBoth(screen->deviceAddress(), screen->deviceKey());
    else
        screen->copy(screen->deviceKey());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), GetParam().text);
    EXPECT_EQ(fixture.state->toastText(), QStringLiteral("Copied ✓"));
}

INSTANTIATE_TEST_SUITE_P(Texts, ActivationCopy,
    ::testing::Values(CopyCase { "key", false, u"483920"_qs },
        CopyCase { "both", true, u"MAC: 00:1a:79:00:00:01\nDevice key: 483920"_qs }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, CopyBothInFrenchNamesTheKeyInFrench)
{
    setActiveLanguage(QStringLiteral("fr"));
    start();
    screen->copyBoth(QStringLiteral("m"), QStringLiteral("k"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("MAC: m\nClé de l'appareil: k"));
}

struct OpenCase {
    const char *name;
    QString address;
    bool opens;
};

class ActivationOpen : public ActivationFixture, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(ActivationOpen, OnlyWebPagesReachTheBrowser)
{
    start();
    screen->openManagePage(GetParam().address);
    ASSERT_EQ(opened.size(), GetParam().opens ? 1 : 0);
    if (GetParam().opens)
        EXPECT_EQ(opened.first(), QUrl(GetParam().address));
}

INSTANTIATE_TEST_SUITE_P(Schemes, ActivationOpen,
    ::testing::Values(OpenCase { "https", u"https://tv.example.test/manage"_qs, true },
        OpenCase { "http", u"http://127.0.0.1:8080/manage"_qs, true },
        OpenCase { "upperCaseScheme", u"HTTPS://tv.example.test/manage"_qs, true },
        OpenCase { "file", u"file:///etc/passwd/manage"_qs, false },
        OpenCase { "fileWithHost", u"file://localhost/etc/passwd/manage"_qs, false },
        OpenCase { "javascript", u"javascript:alert(1)/manage"_qs, false },
        OpenCase { "ftp", u"ftp://tv.example.test/manage"_qs, false },
        OpenCase { "customHandler", u"smb://host/share/manage"_qs, false },
        OpenCase { "noHost", u"http:///manage"_qs, false }, OpenCase { "notAnAddress", u"/manage"_qs, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, PortalSiteWithOtherSchemeIsNotOpened)
{
    DeviceResponse device = AppStateFixture::device({ 7 });
    device.site_url = QStringLiteral("file:///home/user");
    fixture.cacheDevice(device);
    start();
    screen->openManagePage(screen->manageAddress());
    EXPECT_TRUE(opened.isEmpty());
}

// What zbarimg reads from the code as the device card draws it: stretched to 132 by 132
// without smoothing, on white with 10 of padding.
QString decoded(const QImage &code)
{
    QTemporaryDir dir;
    QImage framed(152, 152, QImage::Format_Grayscale8);
    framed.fill(Qt::white);
    QPainter(&framed).drawImage(QRect(10, 10, 132, 132), code);
    const QString path = dir.filePath(QStringLiteral("code.png"));
    if (!framed.save(path))
        return {};
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), { QStringLiteral("--raw"), QStringLiteral("-q"), path });
    if (!zbar.waitForFinished(20000))
        return {};
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

class QrCodeDecodes : public ::testing::TestWithParam<QString> {};

TEST_P(QrCodeDecodes, BackToTheAddress)
{
    const std::optional<QImage> code = qrCodeImage(GetParam());
    ASSERT_TRUE(code);
    EXPECT_EQ(code->width(), code->height());
    EXPECT_EQ(code->width() % QrCodeItem::kModulePixels, 0);
    EXPECT_EQ(decoded(*code), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Addresses, QrCodeDecodes,
    ::testing::Values(u"http://127.0.0.1:8080/manage"_qs,
        u"https://tv.example.test/account/devices/00:1a:79:00:00:01/playlists?tab=m3u&lang=fr/manage"_qs));

TEST(QrCode, EmptyOrOversizedTextGivesNothing)
{
    EXPECT_FALSE(qrCodeImage(QString()));
    EXPECT_FALSE(qrCodeImage(QString(8000, QLatin1Char('a'))));
}

} // namespace
