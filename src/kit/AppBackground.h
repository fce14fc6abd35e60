#pragma once

#include "PaintedItem.h"
#include <QtQml/qqmlregistration.h>

// The backdrop behind every screen: the base colour under a violet glow at the upper
// left and a cyan glow at the lower right, both sized by the longer side. Painted, so
// it draws with every renderer.
class AppBackground : public PaintedItem {
    Q_OBJECT
    QML_ELEMENT

public:
    explicit AppBackground(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;
};
