#pragma once

#include <QString>
#include <QUrl>

// The view of a route's screen (by route name) when its module is part of this program;
// an empty address when it is not, and the placeholder stands in.
QUrl screenView(const QString &routeName);
