#include "DeviceTexts.h"

#include "app/AppState.h"
#include "app/Prefs.h"

QString deviceAddressOf(AppState &app)
{
    if (app.device() && !app.device()->mac.isEmpty())
        return app.device()->mac;
    return app.prefs()->deviceMac();
}

QString siteAddressOf(const AppState &app, const QString &portalAddress)
{
    const OptText site = app.device() ? app.device()->site_url : std::nullopt;
    return site && !site->isEmpty() ? *site : portalAddress;
}
