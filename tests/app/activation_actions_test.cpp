#include "ActivationFixture.h"
#include "app/QrCode.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct PeriodicCase {
    const char *name;
    int playlists; // -1: no device record
    bool pushed;
    bool asks;
};

class ActivationPeriodic : public ActivationFixture, public ::testing::WithParamInterface<PeriodicCase> { };

TEST_P(ActivationPeriodic, AsksEveryThirtySecondsUnlessDone)
{
    server.serve(kDevicePath, LoopbackResponse::withStatus(500));
    start(GetParam().playlists, GetParam().pushed);
    for (int round = 0; round < 2; ++round) {
        fixture.clock.advance(ActivationScreenModel::kPeriodMs - 1);
        EXPECT_FALSE(screen->busy());
        fixture.clock.advance(1);
        EXPECT_EQ(screen->busy(), GetParam().asks) << round;
        ASSERT_TRUE(QTest::qWaitFor([this] { return !screen->busy(); }));
        EXPECT_EQ(server.requestCount(kDevicePath), GetParam().asks ? round + 1 : 0);
        EXPECT_FALSE(fixture.state->toastVisible()) << "a failure is silent";
    }
}

INSTANTIATE_TEST_SUITE_P(Rounds, ActivationPeriodic,
    ::testing::Values(PeriodicCase { "noRecord", -1, false, true },
        PeriodicCase { "noPlaylistsPushed", 0, true, true },
        PeriodicCase { "playlistsAlone", 1, false, true },
        PeriodicCase { "playlistsPushedSkips", 1, true, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ActivationFixture, PeriodicRefreshReRootsSilently)
{
    server.serve(kDevicePath, LoopbackResponse::json(portalRecord(1)));
    start(-1);
    fixture.clock.advance(ActivationScreenModel::kPeriodMs);
    ASSERT_TRUE(QTest::qWaitFor([this] { return fixture.route() == QLatin1String("home"); }));
    EXPECT_FALSE(fixture.state->toastVisible());
}

TEST_F(ActivationFixture, GoneScreenStopsAsking)
{
    start(-1);
    EXPECT_EQ(fixture.clock.pending(), 1);
    screen.reset();
    EXPECT_EQ(fixture.clock.pending(), 0);
    fixture.clock.advance(3 * ActivationScreenModel::kPeriodMs);
    EXPECT_EQ(server.requestCount(kDevicePath), 0);
}

TEST_F(ActivationFixture, CopyWritesTheClipboardInTheLanguageAndToasts)
{
    start(1);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(u"stale"_qs);
    screen->copy(screen->deviceKey());
    EXPECT_EQ(clipboard->text(), u"483920"_qs);
    EXPECT_EQ(fixture.state->toastText(), u"Copied ✓"_qs);
    screen->copyBoth(screen->deviceAddress(), screen->deviceKey());
    EXPECT_EQ(clipboard->text(), u"MAC: 00:1a:79:00:00:01\nDevice key: 483920"_qs);
    setActiveLanguage(u"fr"_qs);
    screen->copyBoth(u"m"_qs, u"k"_qs);
    EXPECT_EQ(clipboard->text(), u"MAC: m\nClé de l'appareil: k"_qs);
}

TEST_F(ActivationFixture, OnlyWebPagesReachTheBrowser)
{
    const QStringList pages { u"https://tv.example.test/manage"_qs, u"http://127.0.0.1:8080/manage"_qs,
        u"HTTPS://tv.example.test/manage"_qs };
    const QStringList refused { u"file:///etc/passwd/manage"_qs, u"file://localhost/etc/passwd/manage"_qs,
        u"javascript:alert(1)/manage"_qs, u"ftp://tv.example.test/manage"_qs, u"smb://host/share/manage"_qs,
        u"http:///manage"_qs, u"/manage"_qs };
    start(-1);
    for (const QString &address : pages + refused)
        screen->openManagePage(address);
    EXPECT_EQ(opened, QList<QUrl>(pages.begin(), pages.end()));

    // Nor does a portal site of another scheme: the portal's own page stands for it.
    DeviceResponse device = AppStateFixture::device({ 7 });
    device.site_url = u"file:///home/user"_qs;
    fixture.cacheDevice(device);
    open();
    screen->openManagePage(screen->manageAddress());
    EXPECT_EQ(opened.mid(pages.size()), QList<QUrl> { QUrl(fixture.portal + u"/manage"_qs) });
}

// What zbarimg reads from the code as the device card draws it: stretched to 132 by 132
// without smoothing, on white with 10 of padding.
QString decoded(const QImage &code)
{
    QTemporaryDir dir;
    QImage framed(152, 152, QImage::Format_Grayscale8);
    framed.fill(Qt::white);
    QPainter(&framed).drawImage(QRect(10, 10, 132, 132), code);
    const QString path = dir.filePath(u"code.png"_qs);
    if (!framed.save(path))
        return {};
    QProcess zbar;
    zbar.start(u"zbarimg"_qs, { u"--raw"_qs, u"-q"_qs, path });
    if (!zbar.waitForFinished(20000))
        return {};
    return QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
}

TEST(QrCode, DecodesBackToTheAddressAndRefusesEmptyOrOversizedText)
{
    for (const QString &address :
        { u"http://127.0.0.1:8080/manage"_qs,
            u"https://tv.example.test/account/devices/00:1a:79:00:00:01/playlists?tab=m3u&lang=fr/manage"_qs }) {
        const std::optional<QImage> code = qrCodeImage(address);
        ASSERT_TRUE(code);
        EXPECT_EQ(code->width(), code->height());
        EXPECT_EQ(code->width() % QrCodeItem::kModulePixels, 0);
        EXPECT_EQ(decoded(*code), address);
    }
    EXPECT_FALSE(qrCodeImage(QString()));
    EXPECT_FALSE(qrCodeImage(QString(8000, QLatin1Char('a'))));
}

} // namespace
