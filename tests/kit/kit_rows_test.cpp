#include "KitServices.h"
#include "KitTestSupport.h"
#include "kit/ContentListModel.h"
#include "kit/TapRule.h"

#include <QQmlComponent>
#include <QQuickWindow>

#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

namespace {

QString urlOf(const char *file)
{
    return QStringLiteral("qrc:/Zelfor/Kit/%1.qml").arg(QLatin1String(file));
}

// The playing row's bars move while its playback goes on; a failed one keeps only its fill.
TEST(ChannelRowEqualizer, MovesOnlyWhileThePlaybackGoesOn)
{
    QQmlEngine engine;
    auto load = loadQml(engine, urlOf("ChannelRow"),
        { { "name", "FR | TF1 HD" }, { "logo", "" }, { "num", 1 }, { "catchupDays", 7 },
            { "favorite", false }, { "playing", true }, { "equalizer", false }, { "focused", false },
            { "width", 420 } });
    ASSERT_TRUE(load.object);
    const auto equalizer = [&]() -> QQuickItem * {
        for (auto *child : load.object->findChildren<QQuickItem *>()) {
            if (child->property("phase").isValid())
                return child;
        }
        return nullptr;
    };
    EXPECT_FALSE(equalizer());
    load.object->setProperty("equalizer", true);
    ASSERT_TRUE(equalizer());
    EXPECT_TRUE(QTest::qWaitFor([&] { return equalizer()->property("phase").toDouble() > 0; }, 10000));
    load.object->setProperty("equalizer", false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !equalizer(); }, 10000));
}

TEST(PosterBadges, FollowRatingFavoriteAndFocus)
{
    // rating badge text ("" for none), favorite, focused, rating badge shown
    const std::tuple<QString, bool, bool, bool> cases[] = {
        { "7.3", false, false, true },
        { "8.0", true, true, true },
        { "", true, false, false },
        { "", false, true, false },
    };
    for (const auto &[badge, favorite, focused, ratingShown] : cases) {
        SCOPED_TRACE(badge.toStdString());
        QQmlEngine engine;
        auto load = loadQml(engine, urlOf("PosterCard"),
            { { "name", "Movie" }, { "logo", "" }, { "ratingBadge", badge }, { "favorite", favorite },
                { "focused", focused }, { "width", 170 } });
        ASSERT_TRUE(load.object);
        EXPECT_TRUE(load.problems.isEmpty()) << qPrintable(load.problems.join('\n'));
        // Each badge is made only while it shows.
        const auto visible = [&](const char *name) {
            auto *loader = load.object->findChild<QQuickItem *>(QLatin1String(name));
            auto *badge = loader ? loader->property("item").value<QQuickItem *>() : nullptr;
            return badge && badge->isVisible() && badge->width() > 0;
        };
        EXPECT_EQ(QList<bool>({ visible("ratingBadge"), visible("favoriteBadge"), visible("playMark") }),
            QList<bool>({ ratingShown, favorite, focused }));
        EXPECT_DOUBLE_EQ(load.object->property("height").toDouble(), 255);
    }
}

TEST(PlaceholderStrength, InitialsAreFaintOnlyWhileAPictureLoads)
{
    LoopbackServer server;
    server.serve("/slow.png", LoopbackResponse::withStatus(404).after(std::chrono::milliseconds(200)));
    for (const auto &[path, whileLoading] : { std::pair { "", 1.0 }, std::pair { "/slow.png", 0.5 } }) {
        SCOPED_TRACE(path);
        QQmlEngine engine;
        auto load = loadQml(engine, urlOf("RemoteImage"),
            { { "url", *path ? server.url(QLatin1String(path)) : QString() }, { "title", "Canal+ Sport" },
                { "width", 62 }, { "height", 38 } });
        ASSERT_TRUE(load.object);
        auto *placeholder = load.object->findChild<QQuickItem *>(QStringLiteral("placeholder"));
        ASSERT_TRUE(placeholder);
        EXPECT_DOUBLE_EQ(placeholder->property("strength").toDouble(), whileLoading);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return server.inFlight() == 0 && placeholder->property("strength").toDouble() == 1; },
            5000));
        EXPECT_FALSE(load.object->property("loaded").toBool());
    }
}

// The probe page counts what reaches the owner of a channel row and a filter field.
TEST(ClickProbe, RowDoubleClickCallsOnlyTheDoubleActionAndFilterWritesTheOwnersText)
{
    ShownPage page(QStringLiteral("rows/ClickProbe.qml"));
    ASSERT_TRUE(page.ready());
    const auto counts = [&] {
        return std::pair(page.root()->property("singles").toInt(), page.root()->property("doubles").toInt());
    };
    QTest::mouseDClick(&page.view(), Qt::LeftButton, {}, centreOf(page.child("row")));
    // A single tap still to come would be pending now.
    const auto *rule = page.child("row")->findChild<TapRule *>();
    ASSERT_TRUE(rule);
    EXPECT_FALSE(rule->pending());
    EXPECT_EQ(counts(), std::pair(0, 1));
    page.click(page.child("row"));
    EXPECT_TRUE(rule->pending());
    EXPECT_EQ(counts(), std::pair(0, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return counts() == std::pair(1, 1); }, 10000));

    QQuickItem *clear = page.child("clearButton");
    ASSERT_TRUE(clear);
    EXPECT_FALSE(clear->isVisible());
    page.click(page.child("filter"));
    QTest::keyClick(&page.view(), Qt::Key_A);
    QTest::keyClick(&page.view(), Qt::Key_B);
    EXPECT_EQ(page.root()->property("filterText").toString(), QStringLiteral("ab"));
    EXPECT_TRUE(clear->isVisible());
    page.click(clear);
    EXPECT_EQ(page.root()->property("filterText").toString(), QString());
    EXPECT_FALSE(clear->isVisible());
    EXPECT_EQ(page.root()->property("edits").toStringList(), (QStringList { "a", "ab", "" }));
    // The owner's later text still reaches the field.
    page.root()->setProperty("filterText", QStringLiteral("news"));
    EXPECT_TRUE(clear->isVisible());
}

// The owner gives and takes the focus; the field shows what its owner made of each edit.
TEST(FilterFieldOwner, ControlsFocusAndTheFieldNeverDriftsFromItsText)
{
    ShownPage page(QStringLiteral("rows/ClickProbe.qml"));
    ASSERT_TRUE(page.ready());
    QQuickItem *field = page.child(QStringLiteral("strictFilter"));
    ASSERT_TRUE(field);
    const auto editing = [&] { return field->property("editing").toBool(); };
    EXPECT_FALSE(editing());
    // A click on the capsule's symbol, off the text, starts editing.
    QTest::mouseClick(&page.view(), Qt::LeftButton, {}, field->mapToScene(QPointF(16, 19)).toPoint());
    EXPECT_TRUE(editing());
    for (const char key : { 'a', 'b' })
        QTest::keyClick(&page.view(), key);
    const auto shown = [&] {
        for (QQuickItem *item : itemsBelow(field)) {
            if (item->inherits("QQuickTextInput"))
                return item->property("text").toString();
        }
        return QString();
    };
    EXPECT_EQ(page.root()->property("strictText").toString(), QStringLiteral("AB"));
    EXPECT_EQ(shown(), QStringLiteral("AB"));
    QMetaObject::invokeMethod(field, "stopEditing");
    EXPECT_FALSE(editing());
    QTest::keyClick(&page.view(), Qt::Key_C);
    EXPECT_EQ(shown(), QStringLiteral("AB"));
    QMetaObject::invokeMethod(field, "edit");
    EXPECT_TRUE(editing());
    QTest::keyClick(&page.view(), Qt::Key_C);
    EXPECT_EQ(shown(), QStringLiteral("ABC"));
}

// Channel rows and poster cards take their values from the content list's roles.
TEST(ContentDelegates, RowsAndCardsFillFromTheModelRolesAndFollowItsFlags)
{
    QList<MediaItem> items(3);
    for (int i = 0; i < 3; ++i) {
        items[i].id = QString::number(i + 1);
        items[i].name = QStringLiteral("Item %1").arg(i + 1);
        items[i].num = i + 1;
        items[i].rating = QStringLiteral("7.%1").arg(i);
    }
    items[1].catchup = Catchup { 3, QStringLiteral("default"), std::nullopt };
    ContentListModel model;
    model.setItems(ContentListModel::itemsOf(items), 9);
    model.setRows({ 2, 1 });
    model.setFocusedRow(1);
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData(R"(import QtQuick
import Zelfor.Kit
Column {
    property var items
    width: 400
    ListView { objectName: "channels"; width: 400; height: 200; model: parent.items; delegate: ChannelRow { width: 400 } }
    GridView { objectName: "posters"; width: 400; height: 300; cellWidth: 180; cellHeight: 280
               model: parent.items; delegate: PosterCard { width: 170 } }
})",
        QUrl(QStringLiteral("file:///delegates.qml")));
    WarningCollector warnings;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> page(qobject_cast<QQuickItem *>(component.createWithInitialProperties(
        { { "items", QVariant::fromValue(static_cast<QObject *>(&model)) } })));
    ASSERT_TRUE(page) << qPrintable(component.errorString());
    page->setParentItem(window.contentItem());
    const auto delegatesOf = [&](const char *view, const char *property) {
        QStringList values;
        for (QQuickItem *item : itemsBelow(itemNamed(page.get(), QLatin1String(view)))) {
            // A channel row has a number, a poster card a rating badge.
            if (item->property(QLatin1String(view) == QLatin1String("posters") ? "ratingBadge" : "num")
                    .isValid())
                values.append(item->property("name").toString() + ':' + item->property(property).toString());
        }
        values.sort();
        return values;
    };
    EXPECT_EQ(delegatesOf("channels", "catchupDays"), (QStringList { "Item 2:3", "Item 3:0" }));
    EXPECT_EQ(delegatesOf("channels", "focused"), (QStringList { "Item 2:true", "Item 3:false" }));
    EXPECT_EQ(delegatesOf("posters", "ratingBadge"), (QStringList { "Item 2:7.1", "Item 3:7.2" }));
    model.setFavoriteKeys({ model.keyAt(0) });
    EXPECT_EQ(delegatesOf("posters", "favorite"), (QStringList { "Item 2:false", "Item 3:true" }));
    EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
}

// A name with a stack of combining marks draws nothing above its own line, so it stays
// out of the row above.
TEST(ChannelRowName, IsClippedToItsLine)
{
    ShownPage page(urlOf("ChannelRow"),
        { { "name", QStringLiteral("a") + QString(150, QChar(0x0301)) }, { "logo", "" }, { "num", 1 },
            { "catchupDays", 0 }, { "favorite", false }, { "playing", false }, { "equalizer", false },
            { "focused", false }, { "width", 420 } });
    ASSERT_TRUE(page.ready()) << qPrintable(page.problems().join('\n'));
    page.view().setColor(Qt::black);
    QQuickItem *name = page.child(QStringLiteral("rowName"));
    ASSERT_TRUE(name);
    const QRect line = name->mapRectToScene(QRectF(0, 0, name->width(), name->height())).toRect();
    ASSERT_GT(line.top(), 4);
    const QImage shot = page.view().grabWindow();
    const qreal scale = shot.devicePixelRatio();
    int lit = 0;
    for (int y = 3; y < line.top(); ++y) {
        for (int x = line.left(); x < line.left() + 40; ++x)
            lit += qGray(shot.pixel(QPoint(x, y) * scale)) > 60 ? 1 : 0;
    }
    EXPECT_EQ(lit, 0);
    EXPECT_TRUE(page.problems().isEmpty()) << qPrintable(page.problems().join('\n'));
}

} // namespace
