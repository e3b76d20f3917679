#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QWebEngineView;

// The box of the first element that matches a CSS selector, in the view's coordinates, as
// the page lays it out at the moment; empty when nothing matches.
QRect boundingBox(QWebEngineView* view, const QString& selector);

// A mouse drag with the left button, as a person makes it, from one point of the view to another.
void dragAcross(QWebEngineView* view, const QPoint& from, const QPoint& to);
