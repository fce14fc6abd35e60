#include "Theme.h"

QColor Theme::rgb(int red, int green, int blue)
{
    return QColor::fromRgb(red, green, blue);
}

QColor Theme::withOpacity(const QColor &color, qreal opacity)
{
    QColor result = color;
    result.setAlphaF(float(opacity));
    return result;
}
