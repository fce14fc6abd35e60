#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class AppClock;
class Catalog;
class Http;
class ImageStore;

// What the home and settings screens act through; empty members take the real ones
// (withDefaults), tests hand in their own.
struct HomeServices {
    // Its wall time is shown in the header and compared with the provider's expiry.
    AppClock *clock = nullptr;
    Catalog *catalog = nullptr;
    Http *http = nullptr;
    ImageStore *images = nullptr;
    // Opens an address with the desktop (browser, mail program).
    std::function<bool(const QUrl &)> openUrl;
    // Ends the application the way Ctrl+Q does.
    std::function<void()> quit;
    // The portal base address; empty takes portalBaseAddress().
    QString portalAddress;

    HomeServices withDefaults() const;
};
