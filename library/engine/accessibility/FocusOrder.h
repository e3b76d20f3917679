#pragma once

class QWebEngineView;

namespace lumetto::engine {

// The engine makes the widget a view paints through when the view's page starts, and anew
// after its page process restarts: after the window has set its keyboard focus order, which
// puts a new widget last. This keeps that widget right after its view, where the window
// placed the view, so that Tab leaves the page for the control that follows it.
void keepPainterInFocusOrder(QWebEngineView* view);

}  // namespace lumetto::engine
