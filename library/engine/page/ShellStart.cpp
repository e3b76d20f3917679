#include "engine/page/ShellStart.h"

#include "engine/page/PageCalls.h"
#include "engine/page/StartOrder.h"

#include <QEvent>
#include <QPalette>
#include <QTimer>
#include <QWebEngineView>

namespace lumetto::engine {

ShellStart::ShellStart(QWebEngineView* view, PageCalls& calls, std::function<bool()> hasContent, std::function<void()> load)
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

void ShellStart::restart(bool alone) {
    auto load = [this, alone] {
        if (hasContent_())
            StartOrder::instance().drawing(this, alone ? StartOrder::AloneBoundMs : StartOrder::DrawBoundMs);
        load_();
    };
    if (alone)
        StartOrder::instance().startWhenFree(this, load);
    else
        load();
}

bool ShellStart::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_)
        return false;
    // A window polishes its widgets as it begins to show, some way ahead of its show events.
    if (event->type() == QEvent::Polish || event->type() == QEvent::Show) {
        shown_ = shown_ || event->type() == QEvent::Show;
        inTurn();
    }
    // While the control waits, the view's own show and hide handlers, which tell the page, do
    // not run.
    const bool showing = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    return showing && waiting_ && !started_;
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
    view_->page()->setVisible(view_->isVisible());
    load_();
}

}  // namespace lumetto::engine
