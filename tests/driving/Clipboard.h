#pragma once

#include <QString>

// The system clipboard's content of one type ("text/plain", "text/html"), as another program
// reads it. Under Wayland the clipboard is the compositor's, handed between programs; Qt's
// own clipboard answers from the copy the program made, so another client reads it:
// wl-clipboard's wl-paste. Under X11 Qt reads it.
QString clipboardAs(const QString& mimeType);
