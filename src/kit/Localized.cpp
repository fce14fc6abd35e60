#include "Localized.h"

#include "app/Localization.h"

QString Localized::text(const QString &key) { return ::tr(key); }

QString Localized::language() { return activeLanguage(); }
