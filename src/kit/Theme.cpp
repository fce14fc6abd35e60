#include "Theme.h"

#include <QFont>
#include <QFontInfo>

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

QPalette Theme::palette()
{
    QPalette palette;
    for (const auto role : { QPalette::Window, QPalette::Base, QPalette::AlternateBase, QPalette::Button })
        palette.setColor(role, bg());
    for (const auto role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(role, text());
    palette.setColor(QPalette::ToolTipBase, surface());
    palette.setColor(QPalette::ToolTipText, Qt::white);
    palette.setColor(QPalette::Highlight, selection());
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, textDim());
    return palette;
}

qreal Theme::pointSize(qreal pixels)
{
    // Points per pixel at the resolution text is laid out with.
    static const qreal pointsPerPixel = [] {
        QFont probe(fontFamily());
        probe.setPixelSize(720);
        return QFontInfo(probe).pointSizeF() / 720;
    }();
    return pixels * pointsPerPixel;
}
