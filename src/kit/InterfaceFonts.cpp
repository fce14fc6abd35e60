#include "InterfaceFonts.h"

#include "Theme.h"

#include <QDirIterator>
#include <QFont>
#include <QFontDatabase>

void loadInterfaceFonts()
{
    static const bool loaded = [] {
        QDirIterator faces(QStringLiteral(":/Zelfor/Kit/fonts"), { QStringLiteral("*.ttf") }, QDir::Files);
        while (faces.hasNext())
            QFontDatabase::addApplicationFont(faces.next());
        // Left to fontconfig, Arabic falls back to DejaVu Sans.
        for (const QString &family : { Theme::fontFamily(), Theme::roundedFontFamily() })
            QFont::insertSubstitution(family, QStringLiteral("Noto Sans Arabic"));
        return true;
    }();
    Q_UNUSED(loaded);
}
