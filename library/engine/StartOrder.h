#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>
#include <vector>

namespace lumetto {

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
    // destroyed), or after DrawBoundMs at the latest.
    void drawing(QObject* control);
    void drawn(QObject* control);
    bool isDrawing(QObject* control) const { return drawing_.contains(control); }
    // Whether control is drawing and no other control is.
    bool isDrawingAlone(QObject* control) const { return drawing_.size() == 1 && isDrawing(control); }

    static constexpr int DrawBoundMs = 2000;

private:
    void startWaiting();

    QSet<QObject*> drawing_;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> waiting_;
};

}  // namespace lumetto
