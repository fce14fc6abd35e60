#pragma once

#include "app/KeyHandler.h"

#include <QList>
#include <QtQml/qqmlregistration.h>

// The keys of an open menu or popup: while `active` (bound to the menu being open) it is the
// key router's top handler and takes every key, so nothing reaches the screen below. Esc
// asks to close; Up and Down move the highlight over the entries that can be chosen; Enter
// and Space choose the highlighted one.
class MenuKeys : public KeyHandler {
    Q_OBJECT
    QML_ELEMENT
    // One flag per entry: whether it can be chosen (a hidden entry cannot).
    Q_PROPERTY(QList<bool> entries READ entries WRITE setEntries NOTIFY entriesChanged)
    // The highlighted entry; -1 for none.
    Q_PROPERTY(int current READ current WRITE setCurrent NOTIFY currentChanged)

public:
    // On the key router the program registered.
    explicit MenuKeys(QObject *parent = nullptr);
    MenuKeys(KeyRouter *router, QObject *parent = nullptr);

    QList<bool> entries() const { return m_entries; }
    void setEntries(const QList<bool> &entries);
    int current() const { return m_current; }
    void setCurrent(int current);

    bool handleKey(const Key &key) override;

protected:
    bool isMenu() const override { return true; }

signals:
    void entriesChanged();
    void currentChanged();
    void closeRequested();
    void chosen(int entry);

private:
    void move(int step);
    bool choosable(int entry) const;

    QList<bool> m_entries;
    int m_current = -1;
};
