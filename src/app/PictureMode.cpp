#include "PictureMode.h"

#include "Localization.h"

PictureMode pictureModeFrom(qint64 stored)
{
    return stored == 1 || stored == 2 ? PictureMode(stored) : PictureMode::stretch;
}

PictureMode nextPictureMode(PictureMode mode)
{
    return PictureMode((int(mode) + 1) % 3);
}

QString pictureModeLabel(PictureMode mode)
{
    static const char *const kLabels[] = { "aspect_fill", "aspect_fit", "aspect_zoom" };
    return ::tr(QString::fromLatin1(kLabels[int(mode)]));
}
