#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

class QWidget;

// The screen as a person sees it: every window, menu and box on it. Under X11 the X server's
// screen is read. Under Wayland a program cannot read the screen, nor know where its windows
// are: there the compositor's output is read from the X display that hosts it, and windows are
// found on it with the compositor's pointer (see Seat).

// The whole screen, in its own coordinates.
QRect screenArea();
// Where a point of a widget is on the screen; null if its window is not found there.
std::optional<QPoint> onScreen(QWidget* widget, const QPoint& at);
// The area of the screen a window covers with its frame; empty if it is not found.
QRect frameOnScreen(QWidget* window);
// An area of the screen as it is shown.
QImage screenImage(const QRect& area);
// Whether the screen shows the widget as it paints itself, with its top left at a point of the
// screen: nothing covers it there (the pointer over it aside).
bool showsWidgetAt(QWidget* widget, const QPoint& at);
// Saves what the user sees in the area of a window's frame, with any menu or box over it, as
// a PNG file.
bool saveScreen(QWidget* window, const QString& path);
