#pragma once

#include <QWebEngineScript>

namespace lumetto::engine {

// The control's own page side: the web channel's client, the host's table of failure codes as
// runtimeErrors, and control.js, run in the application world when each document is created.
QWebEngineScript pageScript();

}  // namespace lumetto::engine
