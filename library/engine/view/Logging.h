#pragma once

#include <QLoggingCategory>

namespace lumetto::engine {

// What the library writes to Qt's log, by category, so that hosts can filter it
// (QT_LOGGING_RULES="lumetto.*=false"); each writes warnings only.
Q_DECLARE_LOGGING_CATEGORY(viewLog)     // "lumetto.view": calls of the view, its documents and elements
Q_DECLARE_LOGGING_CATEGORY(bindingLog)  // "lumetto.binding": the data binding (HtmlDataMapper)
Q_DECLARE_LOGGING_CATEGORY(eventsLog)   // "lumetto.events": slots of the view's signals

}  // namespace lumetto::engine
