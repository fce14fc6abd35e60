#include "GridMetrics.h"

#include <algorithm>
#include <cmath>

int GridMetrics::columns(qreal width, qreal cellWidth, qreal spacing)
{
    return std::max(2, int(std::floor((width + spacing) / (cellWidth + spacing))));
}
