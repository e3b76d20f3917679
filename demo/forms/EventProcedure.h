#pragma once

#include "forms/Platform.h"

#include <QObject>

#include <functional>

namespace forms {

// Runs one event procedure. A run-time error ends the procedure at the failing statement and
// is reported to the user ("Run-time error 'N':" and its description); the application keeps
// running with whatever the completed statements changed. Returns whether it ran to its end.
bool runEventProcedure(Platform& platform, const std::function<void()>& procedure);

// Makes a window's procedure the event procedure of a control's signal: each time the signal
// comes, the procedure runs as runEventProcedure runs it.
template <typename Control, typename Signal, typename Window>
void connectEventProcedure(Control* control, Signal signal, Window* window, Platform& platform,
                           void (Window::*procedure)()) {
    QObject::connect(control, signal, window, [window, &platform, procedure] {
        runEventProcedure(platform, [window, procedure] { (window->*procedure)(); });
    });
}

}  // namespace forms
