#include "Localized.h"

#include "app/BidiText.h"
#include "app/Localization.h"

QString Localized::text(const QString &key)
{
    return ::tr(key);
}

QString Localized::labelled(const QString &key, const QString &value)
{
    return ::labelled(::tr(key), value);
}

QString Localized::items(const QString &key)
{
    return isolatedItems(::tr(key), rightToLeft());
}

QString Localized::language()
{
    return activeLanguage();
}

bool Localized::rightToLeft()
{
    return readsRightToLeft(activeLanguage());
}
