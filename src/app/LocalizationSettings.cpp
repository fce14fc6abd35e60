#include "app/Localization.h"
#include "app/Prefs.h"
#include "sources/Registered.h"

QString languageSetting()
{
    return Registered<Prefs>::get()->language();
}

QString timeFormatSetting()
{
    return Registered<Prefs>::get()->timeFormat();
}
