#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The sizes of the tile grids: the smallest poster, channel and settings tiles, the gaps
// between them, and how many columns a grid of them takes.
class GridMetrics : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(qreal tileSpacing READ tileSpacing CONSTANT)
    Q_PROPERTY(qreal posterInset READ posterInset CONSTANT)
    Q_PROPERTY(qreal settingSpacing READ settingSpacing CONSTANT)

public:
    using QObject::QObject;

    // Between poster and channel tiles.
    static constexpr qreal kTileSpacing = 18;
    // Around the browse screen's posters.
    static constexpr qreal kPosterInset = 16;
    static constexpr qreal kPosterWidth = 158;
    static constexpr qreal kChannelWidth = 200;
    static constexpr qreal kSettingWidth = 230;
    static constexpr qreal kSettingSpacing = 16;

    static qreal tileSpacing() { return kTileSpacing; }
    static qreal posterInset() { return kPosterInset; }
    static qreal settingSpacing() { return kSettingSpacing; }

    // How many cells at least `cellWidth` wide, `spacing` apart, fit in `width`; at least two.
    static int columns(qreal width, qreal cellWidth, qreal spacing);
};
