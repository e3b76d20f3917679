#include "engine/view/SlotGuard.h"

#include "engine/view/Logging.h"

#include <exception>

namespace lumetto::engine {

void emitGuarded(const std::function<void()>& emitting) {
    try {
        emitting();
    } catch (const std::exception& failure) {
        qCWarning(eventsLog, "a slot of the view's signal failed: %s", failure.what());
    } catch (...) {
        qCWarning(eventsLog, "a slot of the view's signal failed");
    }
}

}  // namespace lumetto::engine
