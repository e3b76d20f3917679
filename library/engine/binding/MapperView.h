#pragma once

#include <lumetto/Global.h>

class QObject;

namespace lumetto {
class HtmlDataMapper;
}

namespace lumetto::engine {

// Binds mapper to a view of either face, given by its public object (the widget, the Qt Quick
// item), as HtmlDataMapper::setView() does for the widget; null, or an object that is no view,
// lets go of the view.
LUMETTO_CONTROL_EXPORT void setMapperView(HtmlDataMapper* mapper, QObject* view);

}  // namespace lumetto::engine
