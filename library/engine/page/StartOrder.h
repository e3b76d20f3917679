#pragma once

#include <QObject>
#include <QPointer>
#include <QHash>

#include <functional>
#include <vector>

namespace lumetto::engine {

// The order in which the controls of a process start their pages. A control with content to
// show starts at once. One with nothing to show yet waits until the controls that started
// with content have drawn it, so that it does not compete with them for the page process and
// the window's first frames; a call that needs its page starts it without waiting. A control
// that must draw its content alone (see RestoreWatch) waits likewise, and the next one waits
// for it.
class StartOrder : public QObject {
public:
    static StartOrder& instance();

    // Runs start now when no control is drawing its first content, else once none is.
    void startWhenFree(QObject* control, std::function<void()> start);
    // A control begins to draw its first content; it is done when it says so (also as it is
    // destroyed), or after boundMs at the latest. A control that draws anew starts a new turn,
    // which the bound of an earlier one does not end.
    void drawing(QObject* control, int boundMs = DrawBoundMs);
    void drawn(QObject* control);
    bool isDrawing(QObject* control) const { return drawing_.contains(control); }

    static constexpr int DrawBoundMs = 2000;
    // Content restored alone is to be alone in the page process until it draws or ends it.
    static constexpr int AloneBoundMs = 5000;

private:
    void startWaiting();

    QHash<QObject*, quint64> drawing_;  // each drawing control's turn
    quint64 turns_ = 0;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> waiting_;
};

}  // namespace lumetto::engine
