#include "KitServices.h"
#include "KitTestSupport.h"
#include "../app/AppStateFixture.h"
#include "kit/MenuKeys.h"
#include "kit/Theme.h"

#include <QQmlComponent>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)

namespace {

struct MenuKeyCase {
    const char *keys;
    QList<bool> entries;
    int current;
    int closes;
    QList<int> chosen;
};

void PrintTo(const MenuKeyCase &row, std::ostream *os)
{
    *os << row.keys;
}

class MenuKeyRows : public ::testing::TestWithParam<MenuKeyCase> { };

// While open, the menu takes every key from the screen below.
TEST_P(MenuKeyRows, MoveOverShownEntriesAndTakeEveryKey)
{
    const MenuKeyCase &row = GetParam();
    AppStateFixture fixture;
    KeyRouter router(&fixture.makeState());
    QList<Key> below;
    router.registerHandler(QUuid::createUuid(), [&](const Key &key) {
        below.append(key);
        return true;
    });
    MenuKeys menu(&router);
    menu.setEntries(row.entries);
    menu.setActive(true);
    QSignalSpy closes(&menu, &MenuKeys::closeRequested);
    QSignalSpy chosen(&menu, &MenuKeys::chosen);
    for (const Key &key : keys(row.keys))
        EXPECT_TRUE(router.dispatch(key)) << row.keys;
    EXPECT_EQ(menu.current(), row.current) << row.keys;
    EXPECT_EQ(closes.count(), row.closes) << row.keys;
    QList<int> entries;
    for (const auto &args : chosen)
        entries.append(args.at(0).toInt());
    EXPECT_EQ(entries, row.chosen) << row.keys;
    EXPECT_TRUE(below.isEmpty()) << row.keys;

    menu.setActive(false);
    router.dispatch(key(Key::Kind::esc));
    EXPECT_EQ(below.size(), 1) << "a closed menu leaves the keys to the screen";
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuKeyRows,
    ::testing::Values(MenuKeyCase { "D", { true, true, true }, 0, 0, {} },
        MenuKeyCase { "DDDD", { true, true, true }, 2, 0, {} },
        MenuKeyCase { "DDU", { true, false, true }, 0, 0, {} },
        MenuKeyCase { "DD", { true, false, true }, 2, 0, {} },
        MenuKeyCase { "U", { true, true, false }, 1, 0, {} }, MenuKeyCase { "E", { true, true }, -1, 0, {} },
        MenuKeyCase { "DDE", { true, true }, 1, 0, { 1 } }, MenuKeyCase { "DS", { true, true }, 0, 0, { 0 } },
        MenuKeyCase { "LR<>[]Tchf", { true, true }, -1, 0, {} },
        MenuKeyCase { "DX", { true, true }, 0, 1, {} }));

// The app's menu in a window: drawn in the app's colours over any tooltip; the keys
// highlight its shown entries and Enter triggers one and closes it.
TEST(AppMenuView, KeysHighlightChooseAndCloseOverTheTooltip)
{
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    WarningCollector warnings;
    QQmlComponent component(&engine);
    component.setData(R"(import QtQuick
import QtQuick.Controls
import Zelfor.Kit
Window {
    id: win
    width: 600; height: 400; visible: true
    property int chosenEntry: -1
    HelpTip { objectName: "tip"; shown: true; text: "Help" }
    AppMenu {
        objectName: "menu"
        AppMenuItem { objectName: "first"; text: "First"; onTriggered: win.chosenEntry = 0 }
        AppMenuItem { objectName: "hidden"; text: "Hidden"; visible: false; height: 0; onTriggered: win.chosenEntry = 1 }
        AppMenuItem { objectName: "last"; text: "Last"; onTriggered: win.chosenEntry = 2 }
    }
})",
        QUrl(QStringLiteral("file:///inline.qml")));
    std::unique_ptr<QQuickWindow> window(qobject_cast<QQuickWindow *>(component.create()));
    ASSERT_TRUE(window) << qPrintable(component.errorString());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto *menu = window->findChild<QObject *>(QStringLiteral("menu"));
    auto *tip = window->findChild<QObject *>(QStringLiteral("tip"));
    ASSERT_TRUE(menu && tip);
    QMetaObject::invokeMethod(menu, "open");
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->property("opened").toBool(); }));
    EXPECT_GT(menu->property("z").toReal(), tip->property("z").toReal());
    const auto dispatch = [](Key::Kind kind) { return kitServices().router()->dispatch(Key { kind, {} }); };
    const auto look = [&](const char *name) {
        auto *item = window->findChild<QQuickItem *>(QString::fromLatin1(name));
        return item->property("background").value<QQuickItem *>()->property("color").value<QColor>();
    };
    EXPECT_TRUE(dispatch(Key::Kind::down));
    EXPECT_TRUE(dispatch(Key::Kind::down));
    EXPECT_EQ(look("last"), Theme::raisedHover());
    EXPECT_EQ(look("first").alpha(), 0);
    EXPECT_TRUE(dispatch(Key::Kind::enter));
    EXPECT_EQ(window->property("chosenEntry").toInt(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !menu->property("visible").toBool(); }));
    EXPECT_FALSE(dispatch(Key::Kind::down)) << "the closed menu takes no keys";

    // A click chooses as before.
    QMetaObject::invokeMethod(menu, "open");
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->property("opened").toBool(); }));
    QTest::mouseClick(
        window.get(), Qt::LeftButton, {}, centreOf(window->findChild<QQuickItem *>(QStringLiteral("first"))));
    EXPECT_EQ(window->property("chosenEntry").toInt(), 0);
    EXPECT_TRUE(warnings.warnings().isEmpty()) << qPrintable(warnings.warnings().join('\n'));
}

} // namespace
