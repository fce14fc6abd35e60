#include "AppStateFixture.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

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
        const auto *field = window->findChild<QQuickItem *>(u"field"_qs);
        return field ? field->property("text").toString() : u"<no field>"_qs;
    }

    AppStateFixture fixture;
    AppState &state = fixture.makeState();
    int toggles = 0;
    KeyRouter router { &state, { .toggleFullScreen = [this] { ++toggles; } } };
    QList<Key> seen;
    QQmlEngine engine;
    std::unique_ptr<QQuickWindow> window;
};

TEST_F(KeyDeliveryTest, OnePressReachesTheHandlerOnceAndCtrlCombinationsPass)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(false, false));
    EXPECT_FALSE(KeyRouter::textFieldEditing()) << "an unfocused field";
    QTest::keyClick(window.get(), Qt::Key_Down);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(window.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(seen, keys("DfET"));
    EXPECT_EQ(toggles, 1) << "Shift+F toggled once";
}

TEST_F(KeyDeliveryTest, OnlyAnEditedFieldKeepsItsKeys)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(true, true));
    EXPECT_FALSE(KeyRouter::textFieldEditing()) << "a read-only field";
    QTest::keyClick(window.get(), Qt::Key_A);
    EXPECT_EQ(seen, keys("a"));

    ASSERT_NO_FATAL_FAILURE(loadWindow(true, false));
    ASSERT_TRUE(KeyRouter::textFieldEditing());
    QTest::keyClick(window.get(), Qt::Key_F);
    QTest::keyClick(window.get(), Qt::Key_A);
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_EQ(fieldText(), u"fa"_qs);
    EXPECT_EQ(toggles, 0);
    EXPECT_EQ(seen, keys("aD"));
}

// The repeats a held key sends reach the handler marked as held.
TEST_F(KeyDeliveryTest, RepeatsOfAHeldKeyAreMarked)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(false, false));
    const auto press = [this](Qt::Key code, bool autoRepeat) {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(window.get(), &event);
    };
    press(Qt::Key_Escape, false);
    press(Qt::Key_Escape, true);
    press(Qt::Key_Down, true);
    using K = Key::Kind;
    EXPECT_EQ(seen, (QList<Key> { { K::esc, {}, false }, { K::esc, {}, true }, { K::down, {}, true } }));
}

// A click outside the edited field gives the keys back; a click in it keeps them.
TEST_F(KeyDeliveryTest, AClickOutsideTheEditedFieldEndsEditing)
{
    ASSERT_NO_FATAL_FAILURE(loadWindow(true, false));
    ASSERT_TRUE(KeyRouter::textFieldEditing());
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_TRUE(KeyRouter::textFieldEditing()) << "a click in the field";
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_FALSE(KeyRouter::textFieldEditing());
    QTest::keyClick(window.get(), Qt::Key_H);
    QTest::keyClick(window.get(), Qt::Key_Right);
    EXPECT_EQ(fieldText(), QString());
    EXPECT_EQ(seen, keys("hR"));
}

} // namespace
