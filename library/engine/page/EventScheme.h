#pragma once

#include <lumetto/Global.h>

#include <QString>

class QObject;
class QUrl;
class QWebEngineProfile;
class QWebEngineUrlSchemeHandler;

namespace lumetto::engine {

// The URL scheme over which a page asks its host for the answer to an event it raised, and
// waits for it: "lumetto-event:<token>/<number>", asked by the control's script only (a
// synchronous request, which the content, running no script, cannot make).
namespace EventScheme {

// Registers the scheme with the engine; this takes only before the engine has started.
void registerScheme();
// Whether the engine knows the scheme: a page asks over it only then.
bool registered();
// Answers the scheme's requests for the pages of the profile.
void installOn(QWebEngineProfile* profile);
// What answers the scheme's requests, for a profile of any face (installUrlSchemeHandler());
// null when the engine does not know the scheme.
LUMETTO_CONTROL_EXPORT QWebEngineUrlSchemeHandler* makeHandler(QObject* parent);
// Whether url is an event request of the scheme.
bool isEventRequest(const QUrl& url);
LUMETTO_CONTROL_EXPORT QString scheme();

}  // namespace EventScheme
}  // namespace lumetto::engine
