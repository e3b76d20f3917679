#pragma once

class QWebEngineView;
class QWidget;

namespace lumetto::engine {

// Makes a view of the engine that screen readers can use: the page's text, links and form
// fields in the accessibility tree once an assistive technology is present, and the engine's
// hidden offscreen windows kept out of it.
QWebEngineView* accessibleView(QWidget* parent);

}  // namespace lumetto::engine
