#include "driving/ProductPage.h"

#include <QImage>

namespace product_page {

QRect logoCorner(const QSize& view) {
    return QRect(view.width() - 64, 0, 64, 64);
}

bool showsLogo(const QImage& image, const QRect& region) {
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels = QRect(region.topLeft() * ratio, region.size() * ratio) & image.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (image.pixelColor(x, y) == LogoBlue)
                return true;
    return false;
}

}  // namespace product_page
