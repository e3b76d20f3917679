#include "engine/view/SlotGuard.h"

#include <QtGlobal>

#include <exception>

namespace lumetto {

void emitGuarded(const std::function<void()>& emitting) {
    try {
        emitting();
    } catch (const std::exception& failure) {
        qWarning("lumetto: a slot of the view's signal failed: %s", failure.what());
    } catch (...) {
        qWarning("lumetto: a slot of the view's signal failed");
    }
}

}  // namespace lumetto
