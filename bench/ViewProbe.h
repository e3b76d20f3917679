#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QVariant>

class QWebEngineView;

// What a benchmark reads of a view: where elements are and when the screen shows a colour.
namespace view_probe {

// Evaluates a script in the given script world of the view's page and waits for its value.
QVariant evaluate(QWebEngineView* view, const QString& script, quint32 world);
// The bounding box of the first element matching a selector, in the view's coordinates.
QRect boundsOf(QWebEngineView* view, const QString& selector, quint32 world);
// Handles events until the view shows colour at point, up to timeoutMs; returns whether it did.
bool waitForColour(QWebEngineView* view, const QPoint& point, const QColor& colour, int timeoutMs = 2000);

}  // namespace view_probe
