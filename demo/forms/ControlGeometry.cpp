#include "forms/ControlGeometry.h"

#include "forms/Twips.h"
#include "contract/RuntimeError.h"

#include <QWidget>

#include <cmath>

namespace forms {
namespace {

int toPixels(float twips) {
    const float pixels = std::round(twips * LogicalDpi / TwipsPerInch);
    if (!std::isfinite(pixels) || std::abs(pixels) > QWIDGETSIZE_MAX)
        throw contract::RuntimeError::invalidPropertyValue();
    return static_cast<int>(pixels);
}

int toSize(float twips) {
    if (twips < 0)
        throw contract::RuntimeError::invalidPropertyValue();
    return toPixels(twips);
}

}  // namespace

float outerWidth(const QWidget& window) {
    return pixelsToTwips(window.frameGeometry().width());
}

float outerHeight(const QWidget& window) {
    return pixelsToTwips(window.frameGeometry().height());
}

void setTop(QWidget& control, float twips) {
    control.move(control.x(), toPixels(twips));
}

void setLeft(QWidget& control, float twips) {
    control.move(toPixels(twips), control.y());
}

void setWidth(QWidget& control, float twips) {
    control.resize(toSize(twips), control.height());
}

void setHeight(QWidget& control, float twips) {
    control.resize(control.width(), toSize(twips));
}

}  // namespace forms
