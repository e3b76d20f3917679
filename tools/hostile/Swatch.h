#pragma once

#include "hostile/Stage.h"

#include <QRandomGenerator>
#include <QRgb>
#include <QString>

// Content that fills a view with one colour, so that the screen tells which write it shows.
namespace swatch {

// A body whose block covers the view in that colour.
QString body(QRgb colour);
// A vivid colour, far from white and unlike the one given.
QRgb next(QRandomGenerator& random, QRgb unlike);
// Whether two colours are the same on the screen.
bool same(QRgb a, QRgb b);
// The point of a view the checks read.
QPoint centre();
// Waits until the screen shows the colour at the view's centre; false after timeoutMs.
bool waitShown(Stage& stage, lumetto::HtmlView* view, QRgb colour, int timeoutMs);

}  // namespace swatch
