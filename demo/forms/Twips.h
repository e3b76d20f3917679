#pragma once

#include <QRect>

namespace forms {

// Positions and sizes of the designs are in twips, 1/1440 inch: 15 twips to a pixel at 96 DPI.
// Qt's high-DPI scaling maps these device-independent pixels to the screen.
constexpr int TwipsPerInch = 1440;
constexpr int LogicalDpi = 96;

constexpr int twipsToPixels(int twips) { return (twips * LogicalDpi + TwipsPerInch / 2) / TwipsPerInch; }
constexpr float pixelsToTwips(int pixels) { return static_cast<float>(pixels) * TwipsPerInch / LogicalDpi; }

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

}  // namespace forms
