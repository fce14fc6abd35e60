#pragma once

#include "KeyHandler.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

#include <functional>

class AppState;

// One modal choice, opened by handing it to AppState::setDialog.
class ChoiceDialogModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Opened through AppState.setDialog")
    Q_PROPERTY(QString id READ idText CONSTANT)
    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QStringList options READ options CONSTANT)
    Q_PROPERTY(int selected READ selected CONSTANT)

public:
    using Action = std::function<void(int)>;

    // `selected` marks the current option; negative for none.
    ChoiceDialogModel(
        QString title, QStringList options, int selected, Action onSelect, QObject *parent = nullptr);

    QUuid id() const { return m_id; }
    QString idText() const { return m_id.toString(QUuid::WithoutBraces); }
    QString title() const { return m_title; }
    QStringList options() const { return m_options; }
    int selected() const { return m_selected; }
    int optionCount() const { return int(m_options.size()); }

    // Hands `index` to the action when it names an option; false, and no call, otherwise.
    bool select(int index) const;

private:
    QUuid m_id = QUuid::createUuid();
    QString m_title;
    QStringList m_options;
    int m_selected;
    Action m_onSelect;
};

// Keyboard focus and key handling of the shown choice dialog; one per dialog view.
// Up and down move the focus within the options, Enter and Space choose the focused
// option, Esc dismisses; every key is taken so nothing reaches the screen beneath.
// The dialog view creates one with `model: AppState.dialog` and `active: true`.
class ChoiceDialogController : public KeyHandler {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ChoiceDialogModel *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(int focus READ focus NOTIFY focusChanged)

public:
    // On the state and key router the program registered.
    explicit ChoiceDialogController(QObject *parent = nullptr);
    ChoiceDialogController(AppState *app, KeyRouter *router, QObject *parent = nullptr);

    ChoiceDialogModel *model() const { return m_model; }
    // Focus starts at the model's selected option, kept within the options.
    void setModel(ChoiceDialogModel *model);
    int focus() const { return m_focus; }

    bool handleKey(const Key &key) override;
    // Chooses option `index`, then dismisses.
    Q_INVOKABLE void choose(int index);
    // Closes the dialog when it is still the one shown.
    Q_INVOKABLE void dismiss();

signals:
    void modelChanged();
    void focusChanged();

private:
    void setFocus(int focus);
    int lastIndex() const;

    QPointer<AppState> m_app;
    QPointer<ChoiceDialogModel> m_model;
    int m_focus = 0;
};
