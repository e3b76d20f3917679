#pragma once

#include "forms/Platform.h"

#include <functional>

namespace forms {

// Runs one event procedure. A run-time error ends the procedure at the failing statement and
// is reported to the user ("Run-time error 'N':" and its description); the application keeps
// running with whatever the completed statements changed. Returns whether it ran to its end.
bool runEventProcedure(Platform& platform, const std::function<void()>& procedure);

}  // namespace forms
