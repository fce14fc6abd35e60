#pragma once

#include <QString>

class AppState;

// The device address the home and settings screens show: the held record's mac when it has
// one, else the address this device made for itself.
QString deviceAddressOf(AppState &app);

// The portal's site: the held record's site_url when it has one, else `portalAddress`.
QString siteAddressOf(const AppState &app, const QString &portalAddress);
