#pragma once

#include <functional>

namespace lumetto::engine {

// Runs what emits one of the view's signals. A slot that throws is written to Qt's log; the
// exception goes no further, neither into the engine's callbacks nor into Qt's event loop.
void emitGuarded(const std::function<void()>& emitting);

}  // namespace lumetto::engine
