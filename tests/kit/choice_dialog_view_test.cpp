#include "QmlHarness.h"
#include "app/AppState.h"
#include "app/ChoiceDialog.h"
#include "app/KeyRouter.h"
#include "app/Localization.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Zelfor_KitPlugin)
Q_IMPORT_QML_PLUGIN(Zelfor_AppPlugin)

namespace {

// Items of the visual tree below `item` with that object name.
void collectNamed(QQuickItem *item, const QString &name, QList<QQuickItem *> &found)
{
    for (QQuickItem *child : item->childItems()) {
        if (child->objectName() == name)
            found.append(child);
        collectNamed(child, name, found);
    }
}

const QStringList kOptions = { QStringLiteral("Newest first"), QStringLiteral("A to Z"), QStringLiteral("Z to A") };

// The dialog view over a 900 by 640 window, showing a fresh model that AppState holds.
class ChoiceDialogViewTest : public ::testing::Test {
protected:
    void open(int selected)
    {
        auto model = std::make_unique<ChoiceDialogModel>(
            QStringLiteral("Sort by"), kOptions, selected, [this](int index) { chosen.append(index); });
        m_model = model.get();
        AppState::shared()->setDialog(std::move(model));
        WarningCollector collector;
        m_view.engine()->addImportPath(QStringLiteral("qrc:/"));
        m_view.setResizeMode(QQuickView::SizeRootObjectToView);
        m_view.resize(900, 640);
        m_view.setInitialProperties({ { "model", QVariant::fromValue(m_model.data()) } });
        m_view.setSource(QUrl(QStringLiteral("qrc:/Zelfor/Kit/ChoiceDialogView.qml")));
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
        for (const QQmlError &error : m_view.errors())
            problems.append(error.toString());
        problems.append(collector.warnings());
        ASSERT_TRUE(m_view.rootObject());
    }

    void TearDown() override { AppState::shared()->closeDialog(); }

    QList<QQuickItem *> rows() const
    {
        QList<QQuickItem *> found;
        collectNamed(m_view.rootObject(), QStringLiteral("choiceRow"), found);
        std::sort(found.begin(), found.end(), [](QQuickItem *a, QQuickItem *b) { return a->y() < b->y(); });
        return found;
    }

    bool marked(QQuickItem *row) const
    {
        QList<QQuickItem *> found;
        collectNamed(row, QStringLiteral("checkMark"), found);
        return found.size() == 1 && found.first()->isVisible();
    }

    void clickAt(QQuickItem *item, QPointF local)
    {
        QTest::mouseClick(&m_view, Qt::LeftButton, {}, item->mapToScene(local).toPoint());
    }

    int focusIndex() const { return m_view.rootObject()->property("focusIndex").toInt(); }
    bool isOpen() const { return AppState::shared()->dialog() != nullptr; }

    QQuickView m_view;
    QPointer<ChoiceDialogModel> m_model;
    QList<int> chosen;
    QStringList problems;
};

struct OpenCase {
    int selected;
    int focus;
};

class ChoiceDialogOpens : public ChoiceDialogViewTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(ChoiceDialogOpens, FocusesTheSelectedRowOrTheFirst)
{
    open(GetParam().selected);
    EXPECT_TRUE(problems.isEmpty()) << qPrintable(problems.join('\n'));
    const auto shown = rows();
    ASSERT_EQ(shown.size(), kOptions.size());
    EXPECT_EQ(focusIndex(), GetParam().focus);
    for (int i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i]->property("focused").toBool(), i == GetParam().focus) << i;
        EXPECT_EQ(shown[i]->property("selected").toBool(), i == GetParam().selected) << i;
        EXPECT_EQ(marked(shown[i]), i == GetParam().selected) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Selected, ChoiceDialogOpens, ::testing::Values(
    OpenCase { -1, 0 }, OpenCase { 0, 0 }, OpenCase { 2, 2 }));

TEST_F(ChoiceDialogViewTest, KeysMoveTheFocusedLookButNotTheMark)
{
    open(0);
    KeyRouter *router = KeyRouter::shared();
    EXPECT_TRUE(router->dispatch(Key { Key::Kind::down, {} }));
    EXPECT_TRUE(router->dispatch(Key { Key::Kind::down, {} }));
    EXPECT_TRUE(router->dispatch(Key { Key::Kind::down, {} }));
    EXPECT_EQ(focusIndex(), 2);
    const auto shown = rows();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_TRUE(shown[2]->property("focused").toBool());
    EXPECT_FALSE(shown[0]->property("focused").toBool());
    EXPECT_TRUE(marked(shown[0]));
    EXPECT_FALSE(marked(shown[2]));
    EXPECT_TRUE(router->dispatch(Key::character(QStringLiteral("a"))));
    EXPECT_TRUE(router->dispatch(Key { Key::Kind::space, {} }));
    EXPECT_EQ(chosen, QList<int> { 2 });
    EXPECT_FALSE(isOpen());
}

TEST_F(ChoiceDialogViewTest, ClickOnARowChoosesItWhateverTheFocus)
{
    open(0);
    const auto shown = rows();
    ASSERT_EQ(shown.size(), 3);
    clickAt(shown[1], QPointF(40, shown[1]->height() / 2));
    EXPECT_EQ(chosen, QList<int> { 1 });
    EXPECT_FALSE(isOpen());
}

struct DismissCase {
    const char *name;
    bool onScrim;
    bool closes;
};

class ChoiceDialogClicks : public ChoiceDialogViewTest, public ::testing::WithParamInterface<DismissCase> {};

TEST_P(ChoiceDialogClicks, ScrimDismissesAndThePanelDoesNothing)
{
    open(1);
    QQuickItem *root = m_view.rootObject();
    const QPointF target = GetParam().onScrim ? QPointF(10, 10) : rows().first()->mapToItem(root, QPointF(20, -30));
    clickAt(root, target);
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_EQ(isOpen(), !GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(Clicks, ChoiceDialogClicks, ::testing::Values(
    DismissCase { "scrim", true, true }, DismissCase { "panelTitle", false, false }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ChoiceDialogViewTest, CancelDismissesWithoutChoosing)
{
    setActiveLanguage(QStringLiteral("fr"));
    open(1);
    setActiveLanguage(QStringLiteral("en"));
    QList<QQuickItem *> found;
    collectNamed(m_view.rootObject(), QStringLiteral("cancelButton"), found);
    ASSERT_EQ(found.size(), 1);
    QQuickItem *cancel = found.first();
    EXPECT_EQ(cancel->property("title").toString(), QStringLiteral("Annuler"));
    EXPECT_FALSE(cancel->property("primary").toBool());
    clickAt(cancel, QPointF(cancel->width() / 2, cancel->height() / 2));
    EXPECT_TRUE(chosen.isEmpty());
    EXPECT_FALSE(isOpen());
}

} // namespace
