#include "HomeServices.h"

#include "kit/ImageStore.h"
#include "sources/AppClock.h"
#include "sources/Catalog.h"
#include "sources/DeviceIdentity.h"
#include "sources/Http.h"

#include <QCoreApplication>
#include <QDesktopServices>

HomeServices HomeServices::withDefaults() const
{
    HomeServices services = *this;
    if (!services.clock)
        services.clock = AppClock::system();
    if (!services.catalog)
        services.catalog = Catalog::shared();
    if (!services.http)
        services.http = Http::shared();
    if (!services.images)
        services.images = ImageStore::shared();
    if (!services.openUrl)
        services.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    if (!services.quit)
        services.quit = [] { QCoreApplication::quit(); };
    if (services.portalAddress.isEmpty())
        services.portalAddress = portalBaseAddress();
    return services;
}
