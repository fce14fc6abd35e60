#include "app/Localization.h"
#include "app/Prefs.h"

QString languageSetting()
{
    return Prefs::shared()->language();
}

QString timeFormatSetting()
{
    return Prefs::shared()->timeFormat();
}
