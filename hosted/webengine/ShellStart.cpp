#include "hosted/webengine/ShellStart.h"

#include "hosted/webengine/PageCalls.h"
#include "hosted/webengine/StartOrder.h"

#include <QEvent>
#include <QPalette>
#include <QTimer>
#include <QWidget>

namespace lumetto {

ShellStart::ShellStart(QWidget* view, PageCalls& calls, std::function<bool()> hasContent, std::function<void()> load)
    : view_(view), calls_(calls), hasContent_(std::move(hasContent)), load_(std::move(load)) {
    calls_.loadingShell();
    view->setAutoFillBackground(true);
    QPalette empty = view->palette();
    empty.setColor(QPalette::Window, Qt::white);
    view->setPalette(empty);
    connect(&calls_, &PageCalls::shellNeeded, this, &ShellStart::now);
    view->installEventFilter(this);
    QTimer::singleShot(0, this, &ShellStart::inTurn);
}

ShellStart::~ShellStart() {
    StartOrder::instance().drawn(this);
}

bool ShellStart::keepsWrites() const {
    return !shown_ && calls_.shellLoading();
}

bool ShellStart::loaded(bool ok) {
    StartOrder& order = StartOrder::instance();
    if (ok && order.isDrawing(this))
        return true;
    order.drawn(this);
    return false;
}

void ShellStart::drawn() {
    StartOrder::instance().drawn(this);
}

bool ShellStart::eventFilter(QObject* watched, QEvent* event) {
    // A window polishes its widgets as it begins to show, some way ahead of its show events.
    if (watched == view_ && (event->type() == QEvent::Polish || event->type() == QEvent::Show)) {
        shown_ = shown_ || event->type() == QEvent::Show;
        inTurn();
    }
    return false;
}

void ShellStart::inTurn() {
    if (started_ || waiting_)
        return;
    if (hasContent_()) {
        StartOrder::instance().drawing(this);
        now();
    } else {
        waiting_ = true;
        StartOrder::instance().startWhenFree(this, [this] { now(); });
    }
}

void ShellStart::now() {
    if (started_)
        return;
    started_ = true;
    load_();
}

}  // namespace lumetto
