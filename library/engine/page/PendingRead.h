#pragma once

#include "engine/view/SlotGuard.h"

#include <lumetto/HtmlError.h>

#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>

namespace lumetto::engine {

// The host's callback of an asynchronous read, with the object it lives with. Each result goes
// to it from the event loop: never inside the call that hands it over (which may be the host's
// own call), not at all once the context is destroyed (or when there is none), and once for
// each result handed over. A callback that throws is written to Qt's log.
template <typename T>
class PendingRead {
public:
    using Done = std::function<void(const T&, const HtmlError&)>;

    PendingRead(const QObject* context, Done done) : context_(const_cast<QObject*>(context)), done_(std::move(done)) {}

    void operator()(const T& value, const HtmlError& failure) const {
        if (!context_ || !done_)
            return;
        QMetaObject::invokeMethod(
            context_.data(), [done = done_, value, failure] { emitGuarded([&] { done(value, failure); }); }, Qt::QueuedConnection);
    }

private:
    QPointer<QObject> context_;
    Done done_;
};

}  // namespace lumetto::engine
