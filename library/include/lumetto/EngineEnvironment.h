#pragma once

#include <lumetto/Global.h>

/// \file EngineEnvironment.h
/// \brief The environment the display engine starts with.

namespace lumetto {

/// Sets the environment variables the display engine reads once, as it starts, for the views of
/// this process:
/// - appends `--renderer-process-limit=1` to `QTWEBENGINE_CHROMIUM_FLAGS`, after the host's own
///   flags, so that the views of the process share one page process;
/// - sets `QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY` to 1, so that screen readers see the page,
///   unless the host has set that variable (to anything).
///
/// It also registers the URL scheme over which a view's page asks the view for its host's
/// answer to a click (`lumetto-event:`); the engine takes a scheme only before it has started.
/// Without it, the views work alike, but a host's answer to a click shows a frame later.
///
/// A host that sets `LUMETTO_KEEP_ENGINE_ENVIRONMENT` (to anything) before this call keeps the
/// environment as it left it: nothing is set, and the host sets what its engine needs itself
/// (the scheme is registered all the same).
///
/// Call it before the first view is created, before or after the QApplication, and before any
/// other use of Qt WebEngine in the process, which would start the engine without it. The first
/// view calls it when the host has not; a later call does nothing. GUI thread only.
LUMETTO_CONTROL_EXPORT void prepareEngineEnvironment();

}  // namespace lumetto
