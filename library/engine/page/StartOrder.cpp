#include "engine/page/StartOrder.h"

#include <QTimer>

namespace lumetto::engine {

StartOrder& StartOrder::instance() {
    static StartOrder order;
    return order;
}

void StartOrder::startWhenFree(QObject* control, std::function<void()> start) {
    if (drawing_.isEmpty())
        start();
    else
        waiting_.emplace_back(control, std::move(start));
}

void StartOrder::drawing(QObject* control, int boundMs) {
    const quint64 turn = ++turns_;
    drawing_.insert(control, turn);
    QTimer::singleShot(boundMs, control, [this, control, turn] {
        if (drawing_.value(control) == turn)
            drawn(control);
    });
}

void StartOrder::drawn(QObject* control) {
    if (drawing_.remove(control) && drawing_.isEmpty())
        startWaiting();
}

// Those that draw content of their own as they start go one at a time; the others together.
void StartOrder::startWaiting() {
    while (!waiting_.empty() && drawing_.isEmpty()) {
        auto [control, start] = std::move(waiting_.front());
        waiting_.erase(waiting_.begin());
        if (control)
            start();
    }
}

}  // namespace lumetto::engine
