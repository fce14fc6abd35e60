#include "AppStateFixture.h"
#include "app/KeyRouter.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Real key presses sent to a Qt Quick window with the router installed on the application.
class KeyDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        router.install();
        router.registerHandler(QUuid::createUuid(), [this](const Key &key) {
            seen.append(key);
            return key.kind == Key::Kind::down;
        });
    }

    // A window holding one TextInput; focused when asked.
    void loadWindow(bool focusField, bool readOnly)
    {
        QQmlComponent component(&engine);
        component.setData(
            QStringLiteral("import QtQuick\nWindow { width: 200; height: 100; visible: true\n"
                           "  TextInput { objectName: \"field\"; width: 100; height: 20; focus: %1;"
                           " readOnly: %2 } }")
                .arg(focusField ? "true" : "false", readOnly ? "true" : "false")
                .toUtf8(),
            QUrl());
        window.reset(qobject_cast<QQuickWindow *>(component.create()));
        ASSERT_TRUE(window) << component.errorString().toStdString();
        window->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QString fieldText() const
    {
        const auto *field = window->findChild<QQuickItem *>(QStringLiteral("field"));
        return field ? field->property("text").toString() : QStringLiteral("<no field>");
    }

    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    int toggles = 0;
    KeyRouter router { &state, { .clock = &fixture.clock, .toggleFullScreen = [this] { ++toggles; } } };
    QList<Key> seen;
    QQmlEngine engine;
    std::unique_ptr<QQuickWindow> window;
};

TEST_F(KeyDeliveryTest, OnePressReachesTheHandlerOnce)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(false, false));
    QTest::keyClick(window.get(), Qt::Key_Down);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(seen,
        (QList<Key> { { Key::Kind::down, {} }, Key::character(QStringLiteral("f")), { Key::Kind::enter, {} },
            { Key::Kind::tab, {} } }));
    EXPECT_EQ(toggles, 1) << "Shift+F toggled once";
}

TEST_F(KeyDeliveryTest, CtrlCombinationsPassUntouched)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(false, false));
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(toggles, 0);
}

TEST_F(KeyDeliveryTest, EditedFieldKeepsItsKeys)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(true, false));
    ASSERT_TRUE(KeyRouter::textFieldEditing());
    QTest::keyClick(window.get(), Qt::Key_F);
    QTest::keyClick(window.get(), Qt::Key_A);
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_EQ(fieldText(), QStringLiteral("fa"));
    EXPECT_EQ(toggles, 0);
    EXPECT_EQ(seen, (QList<Key> { { Key::Kind::down, {} } }));
}

TEST_F(KeyDeliveryTest, ReadOnlyOrUnfocusedFieldIsNotEditing)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(true, true));
    EXPECT_FALSE(KeyRouter::textFieldEditing());
    ASSERT_NO_FATAL_FAILURE(loadWindow(false, false));
    EXPECT_FALSE(KeyRouter::textFieldEditing());
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_EQ(seen, (QList<Key> { Key::character(QStringLiteral("a")) }));
}

} // namespace
