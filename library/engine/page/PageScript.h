#pragma once

#include <QWebEngineScript>

namespace lumetto::engine {

// The control's own page side: the web channel's client, the host's table of failure kinds as
// pageFailures, and the page script's parts (script/: calls, the menu and the selection, the
// binding, events, restoring), run as one script in the application world when each document
// is created.
QWebEngineScript pageScript();

}  // namespace lumetto::engine
