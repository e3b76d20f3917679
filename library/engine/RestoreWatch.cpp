#include "engine/RestoreWatch.h"

namespace lumetto {

RestoreWatch::Next RestoreWatch::processLost(bool drawingAlone) {
    const bool undrawn = restoring_;
    restoring_ = false;
    if (undrawn && suspect_ && drawingAlone) {
        suspect_ = false;
        return Next::RestoreEmpty;
    }
    suspect_ = suspect_ || undrawn;  // a suspect still waiting for its turn stays one
    return suspect_ ? Next::RestoreAlone : Next::Restore;
}

void RestoreWatch::drawn() {
    restoring_ = false;
    suspect_ = false;
}

}  // namespace lumetto
