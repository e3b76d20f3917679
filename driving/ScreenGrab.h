#pragma once

#include <QRect>
#include <QString>

// Saves what the user sees in an area of the screen as a PNG file: every window, menu and box
// in it. Under X11 the X server's screen is read; under Wayland, where a program cannot read
// the screen, the compositor takes it (weston's screenshooter, which it offers when started
// with --debug), whole, since a window there does not know where on the screen it stands.
bool saveScreen(const QRect& area, const QString& path);
