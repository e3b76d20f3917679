#include "engine/page/ShellStart.h"

#include "engine/page/EngineView.h"
#include "engine/page/PageCalls.h"
#include "engine/page/StartOrder.h"

#include <QTimer>

namespace lumetto::engine {

ShellStart::ShellStart(EngineView& view, PageCalls& calls, std::function<bool()> hasContent, std::function<void()> load)
    : view_(view), calls_(calls), hasContent_(std::move(hasContent)), load_(std::move(load)) {
    calls_.loadingShell();
    connect(&calls_, &PageCalls::shellNeeded, this, &ShellStart::now);
    connect(&view, &EngineView::showing, this, &ShellStart::showing);
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

// A window polishes its widgets as it begins to show, some way ahead of showing them.
void ShellStart::showing(bool shown) {
    shown_ = shown_ || shown;
    inTurn();
}


void ShellStart::inTurn() {
    if (started_ || waiting_)
        return;
    if (hasContent_()) {
        StartOrder::instance().drawing(this);
        now();
    } else {
        waiting_ = true;
        view_.holdVisibility(true);  // the page is told that the view shows once its turn comes
        StartOrder::instance().startWhenFree(this, [this] { now(); });
    }
}

void ShellStart::now() {
    if (started_)
        return;
    started_ = true;
    view_.holdVisibility(false);
    view_.showPage();
    load_();
}

}  // namespace lumetto::engine
