#include "BlurredShape.h"

#include "PaintedShapes.h"

#include <QCache>
#include <QMutex>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Bytes of blurred pictures kept for reuse.
constexpr qsizetype kCacheBytes = 8 * 1024 * 1024;
// From this reach on, a blur is made at half size.
constexpr int kHalfSizeReach = 40;

struct Key {
    QRgb color;
    qreal blur;
    qreal radius;
    QSize size;
    bool operator==(const Key &) const = default;
};

size_t qHash(const Key &key, size_t seed = 0)
{
    return qHashMulti(seed, key.color, key.blur, key.radius, key.size.width(), key.size.height());
}

std::vector<float> gaussianWeights(qreal sigma, int reach)
{
    std::vector<float> weights(size_t(2 * reach + 1));
    double sum = 0;
    for (int i = -reach; i <= reach; ++i) {
        const double weight = std::exp(-double(i * i) / (2 * sigma * sigma));
        weights[size_t(i + reach)] = float(weight);
        sum += weight;
    }
    for (float &weight : weights)
        weight = float(weight / sum);
    return weights;
}

// The pass of the separable blur along one row, from `in` to `out`.
void blurRow(const float *in, float *out, int length, const std::vector<float> &weights)
{
    const int reach = int(weights.size() / 2);
    for (int i = 0; i < length; ++i) {
        float sum = 0;
        for (int k = std::max(-reach, -i); k <= std::min(reach, length - 1 - i); ++k)
            sum += in[i + k] * weights[size_t(k + reach)];
        out[i] = sum;
    }
}

// The pass of the separable blur down the columns, from `in` to `out`, a whole row at a
// time: each output row adds up its neighbour rows, read in memory order.
void blurColumns(const float *in, float *out, int w, int h, const std::vector<float> &weights)
{
    const int reach = int(weights.size() / 2);
    for (int y = 0; y < h; ++y) {
        float *row = out + size_t(y) * size_t(w);
        std::fill(row, row + w, 0.f);
        for (int k = std::max(-reach, -y); k <= std::min(reach, h - 1 - y); ++k) {
            const float weight = weights[size_t(k + reach)];
            const float *from = in + size_t(y + k) * size_t(w);
            for (int x = 0; x < w; ++x)
                row[x] += from[x] * weight;
        }
    }
}

QImage make(const QColor &color, qreal blur, qreal radius, QSize shapeSize)
{
    const int reach = shadowReach(blur);
    const QSize full = shapeSize + QSize(2 * reach, 2 * reach);
    // A wide blur keeps no detail that half the pixels lose: it is made at half size, for
    // an eighth of the work, and scaled up.
    const int step = reach >= kHalfSizeReach ? 2 : 1;
    const QSize size((full.width() + step - 1) / step, (full.height() + step - 1) / step);
    QImage mask(size, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(1.0 / step, 1.0 / step);
        painter.fillPath(roundedShape(QRectF(QPointF(reach, reach), shapeSize), radius), Qt::black);
    }
    const int w = size.width();
    const int h = size.height();
    std::vector<float> a(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const uchar *line = mask.constScanLine(y);
        for (int x = 0; x < w; ++x)
            a[size_t(y) * size_t(w) + size_t(x)] = float(line[x]) / 255.f;
    }
    if (reach > 0) {
        const std::vector<float> weights = gaussianWeights(blur / 2 / step, (reach + step - 1) / step);
        std::vector<float> b(a.size());
        for (int y = 0; y < h; ++y)
            blurRow(&a[size_t(y) * size_t(w)], &b[size_t(y) * size_t(w)], w, weights);
        blurColumns(b.data(), a.data(), w, h, weights);
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float alpha = a[size_t(y) * size_t(w) + size_t(x)] * float(color.alphaF());
            const auto channel
                = [&](float c) { return int(std::lround(std::clamp(c * alpha, 0.f, 1.f) * 255)); };
            line[x] = qRgba(channel(float(color.redF())), channel(float(color.greenF())),
                channel(float(color.blueF())), channel(1));
        }
    }
    return step == 1 ? image : image.scaled(full, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

int shadowReach(qreal blur)
{
    return blur > 0 ? int(std::ceil(1.5 * blur)) : 0;
}

QImage blurredShape(const QColor &color, qreal blur, qreal radius, QSize shapeSize)
{
    static QMutex lock;
    static QCache<Key, QImage> cache(kCacheBytes);
    const Key key { color.rgba(), blur, radius, shapeSize };
    const QMutexLocker locker(&lock);
    if (const QImage *kept = cache.object(key))
        return *kept;
    const QImage image = make(color, blur, radius, shapeSize);
    cache.insert(key, new QImage(image), qMax<qsizetype>(1, image.sizeInBytes()));
    return image;
}
