#include "hosted/webengine/StartOrder.h"

#include <QTimer>

namespace lumetto {

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

void StartOrder::drawing(QObject* control) {
    drawing_.insert(control);
    QTimer::singleShot(DrawBoundMs, control, [this, control] { drawn(control); });
}

void StartOrder::drawn(QObject* control) {
    if (drawing_.remove(control) && drawing_.isEmpty())
        startWaiting();
}

void StartOrder::startWaiting() {
    auto starting = std::move(waiting_);
    waiting_.clear();
    for (auto& [control, start] : starting)
        if (control)
            start();
}

}  // namespace lumetto
