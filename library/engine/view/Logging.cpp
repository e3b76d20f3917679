#include "engine/view/Logging.h"

namespace lumetto::engine {

Q_LOGGING_CATEGORY(viewLog, "lumetto.view", QtWarningMsg)
Q_LOGGING_CATEGORY(bindingLog, "lumetto.binding", QtWarningMsg)
Q_LOGGING_CATEGORY(eventsLog, "lumetto.events", QtWarningMsg)

}  // namespace lumetto::engine
