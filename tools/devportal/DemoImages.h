#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// Pictures of the demo provider, painted from a title: a channel logo, a film or series
// poster and a backdrop, each in colours chosen from the title and bearing its initials,
// never the title itself (the views that show them draw it).
namespace DemoImages {

enum class Kind { logo, poster, backdrop };

QSize sizeOf(Kind kind);
// The first letters of the first two words, upper-case: "Star Lab" -> "SL".
QString initials(const QString &title);
// The picture as PNG bytes.
QByteArray png(Kind kind, const QString &title);

} // namespace DemoImages
