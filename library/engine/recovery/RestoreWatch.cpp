#include "engine/recovery/RestoreWatch.h"

#include <set>

namespace lumetto::engine {
namespace {

// The controls whose restored content is in the page process and has not drawn yet. One
// leaves it when its content draws, or when it loads its shell again after the process ended:
// until then the others, told of the same end, still see it there.
std::set<const RestoreWatch*>& undrawnRestores() {
    static std::set<const RestoreWatch*> watches;
    return watches;
}

}  // namespace

RestoreWatch::~RestoreWatch() {
    undrawnRestores().erase(this);
}

RestoreWatch::Next RestoreWatch::processLost() {
    const bool mine = watching();
    if (mine && suspect_ && undrawnRestores().size() == 1) {
        suspect_ = false;
        return Next::RestoreEmpty;
    }
    suspect_ = suspect_ || mine;  // a suspect still waiting for its turn stays one
    return suspect_ ? Next::RestoreAlone : Next::Restore;
}

void RestoreWatch::restarting() {
    undrawnRestores().erase(this);
}

void RestoreWatch::restoring() {
    undrawnRestores().insert(this);
}

bool RestoreWatch::watching() const {
    return undrawnRestores().count(this) != 0;
}

void RestoreWatch::drawn() {
    undrawnRestores().erase(this);
    suspect_ = false;
}

}  // namespace lumetto::engine
