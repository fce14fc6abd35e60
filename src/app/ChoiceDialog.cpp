#include "ChoiceDialog.h"

#include "AppState.h"
#include "KeyRouter.h"
#include "sources/Registered.h"

ChoiceDialogModel::ChoiceDialogModel(
    QString title, QStringList options, int selected, Action onSelect, QObject *parent)
    : QObject(parent)
    , m_title(std::move(title))
    , m_options(std::move(options))
    , m_selected(selected)
    , m_onSelect(std::move(onSelect))
{
}

bool ChoiceDialogModel::select(int index) const
{
    if (index < 0 || index >= optionCount())
        return false;
    if (m_onSelect)
        m_onSelect(index);
    return true;
}

ChoiceDialogController::ChoiceDialogController(QObject *parent)
    : ChoiceDialogController(Registered<AppState>::get(), Registered<KeyRouter>::get(), parent)
{
}

ChoiceDialogController::ChoiceDialogController(AppState *app, KeyRouter *router, QObject *parent)
    : KeyHandler(router, parent)
    , m_app(app)
{
}

void ChoiceDialogController::setModel(ChoiceDialogModel *model)
{
    if (m_model == model)
        return;
    m_model = model;
    emit modelChanged();
    setFocus(model ? model->selected() : 0);
}

int ChoiceDialogController::lastIndex() const
{
    return m_model ? m_model->optionCount() - 1 : -1;
}

void ChoiceDialogController::setFocus(int focus)
{
    // Never below 0 nor past the last option, even when the model marks one out of range.
    const int bounded = qMax(0, qMin(focus, lastIndex()));
    if (bounded == m_focus)
        return;
    m_focus = bounded;
    emit focusChanged();
}

bool ChoiceDialogController::handleKey(const Key &key)
{
    switch (key.kind) {
    case Key::Kind::up:
        setFocus(m_focus - 1);
        break;
    case Key::Kind::down:
        setFocus(m_focus + 1);
        break;
    case Key::Kind::enter:
    case Key::Kind::space:
        choose(m_focus);
        break;
    case Key::Kind::esc:
        dismiss();
        break;
    default:
        break;
    }
    return true;
}

void ChoiceDialogController::choose(int index)
{
    // The action may open another dialog; dismiss then leaves that one alone.
    const QPointer<ChoiceDialogModel> model = m_model;
    if (model)
        model->select(index);
    if (m_app && model && m_app->dialog() == model)
        m_app->setDialog(nullptr);
}

void ChoiceDialogController::dismiss()
{
    if (m_app && m_model && m_app->dialog() == m_model)
        m_app->setDialog(nullptr);
}
