#include "hostile/Swatch.h"

#include "driving/Wait.h"

#include <algorithm>
#include <cstdlib>

namespace swatch {

QString body(QRgb colour) {
    return QStringLiteral("<div id='swatch' style='position:fixed;left:0;top:0;width:100%;height:100%;"
                          "background:rgb(%1,%2,%3)'>swatch</div>")
        .arg(qRed(colour))
        .arg(qGreen(colour))
        .arg(qBlue(colour));
}

QRgb next(QRandomGenerator& random, QRgb unlike) {
    // Channels from 96 to 255 in steps of 32, one of them 0: never white, never grey.
    const auto channel = [&] { return std::min(255, 96 + 32 * int(random.bounded(6))); };
    QRgb colour = unlike;
    // Of the hundred or so colours few are alike: a handful of tries finds one unlike.
    for (int tries = 0; tries < 64 && same(colour, unlike); ++tries) {
        int c[3] = {channel(), channel(), channel()};
        c[random.bounded(3)] = 0;
        colour = qRgb(c[0], c[1], c[2]);
    }
    return colour;
}

bool same(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 && std::abs(qBlue(a) - qBlue(b)) <= 3;
}

QPoint centre() {
    return QPoint(Stage::ViewWidth / 2, Stage::ViewHeight / 2);
}

bool waitShown(Stage& stage, lumetto::HtmlView* view, QRgb colour, int timeoutMs) {
    return waitFor([&] { return same(stage.pixel(view, centre()), colour); }, timeoutMs);
}

}  // namespace swatch
