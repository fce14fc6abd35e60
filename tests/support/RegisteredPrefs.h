#pragma once

#include "app/Prefs.h"
#include "sources/Registered.h"

#include <QTemporaryDir>

// Settings on a file of their own, registered as the program registers its settings, while
// this lives; then the earlier ones are again.
class RegisteredPrefs {
public:
    RegisteredPrefs() { Registered<Prefs>::set(&m_prefs); }
    ~RegisteredPrefs() { Registered<Prefs>::set(m_earlier); }
    RegisteredPrefs(const RegisteredPrefs &) = delete;
    RegisteredPrefs &operator=(const RegisteredPrefs &) = delete;

    Prefs *operator->() { return &m_prefs; }

private:
    Prefs *m_earlier = Registered<Prefs>::get();
    QTemporaryDir m_dir;
    Prefs m_prefs { m_dir.filePath(QStringLiteral("settings.json")), QString() };
};
