#include "engine/view/ControlEvents.h"

#include "engine/page/ElementHandles.h"
#include "engine/page/EngineView.h"
#include "engine/page/PageCalls.h"
#include "engine/page/PageElement.h"
#include "engine/page/PageFailure.h"
#include "engine/view/Logging.h"
#include "engine/view/SlotGuard.h"

#include <lumetto/HtmlView.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

#include <algorithm>

namespace lumetto::engine {
namespace {

constexpr const char* CopyCall = "the clipboard copy";

// How often events held back by a modal window look whether it has closed.
constexpr int BlockedRetryMs = 50;

}  // namespace

ControlEvents::ControlEvents(EngineView& view, std::shared_ptr<ElementHandles> handles)
    : view_(view), handles_(std::move(handles)) {
    // Events are raised from a timer, never from inside the engine's delivery of a message nor
    // from Qt's delivery of posted events: a handler's calls wait for answers that the engine
    // posts, and those would not be delivered until the outer delivery had finished.
    raiseTimer_.setSingleShot(true);
    raiseTimer_.setInterval(0);
    connect(&raiseTimer_, &QTimer::timeout, this, &ControlEvents::raisePending);
    blockedRetry_.setSingleShot(true);
    blockedRetry_.setInterval(BlockedRetryMs);
    connect(&blockedRetry_, &QTimer::timeout, this, &ControlEvents::raisePending);
    connect(&calls(), &PageCalls::idle, &raiseTimer_, qOverload<>(&QTimer::start));
}

PageCalls& ControlEvents::calls() const {
    return handles_->calls();
}

void ControlEvents::queue(ViewEvent event, const QVariantMap& detail) {
    pending_.push_back({event, detail});
    raiseTimer_.start();
}

void ControlEvents::queueCopy(HtmlView::CopyFormat format) {
    queue(ViewEvent::Copy, {{QStringLiteral("format"), format}});
}

void ControlEvents::pageLost() {
    forgetClicked();
    pending_.clear();
}

void ControlEvents::raisePending() {
    if (raising_ || calls().busy())
        return;
    if (view_.windowBlocked()) {
        blockedRetry_.start();
        return;
    }
    // A handler may fail, or delete the control: neither keeps later events from coming.
    const QPointer<ControlEvents> alive(this);
    while (alive && !pending_.empty()) {
        const Pending event = std::move(pending_.front());
        pending_.pop_front();
        raising_ = true;
        emitGuarded([&] { raise(event); });
        if (alive)
            raising_ = false;
    }
}

void ControlEvents::raise(const Pending& event) {
    const QPointer<ControlEvents> alive(this);
    switch (event.event) {
    case ViewEvent::LeftClick:
        clicked_ = handles_->elementFor(event.detail);
        emit elementClicked(PageElement::handleOf(clicked_), Qt::LeftButton);
        break;
    case ViewEvent::RightClick:
        clicked_ = handles_->elementFor(event.detail);
        emit elementClicked(PageElement::handleOf(clicked_), Qt::RightButton);
        if (alive) {
            const QPoint at(event.detail.value(QStringLiteral("x")).toInt(), event.detail.value(QStringLiteral("y")).toInt());
            view_.openMenu(at);
        }
        break;
    case ViewEvent::Copy:
        copySelection(static_cast<HtmlView::CopyFormat>(event.detail.value(QStringLiteral("format")).toInt()));
        break;
    }
}

// The host changes the page first, so that what it takes off (a highlight) is never copied;
// then the selection goes to the system clipboard and the host hears which kind of copy it was.
void ControlEvents::copySelection(HtmlView::CopyFormat format) {
    const QPointer<ControlEvents> alive(this);
    emit aboutToCopy(format);
    if (!alive)
        return;
    try {
        const QString text = calls().call(CopyCall, QStringLiteral("createRange")).toMap().value(QStringLiteral("text")).toString();
        if (format == HtmlView::Html) {
            auto* data = new QMimeData;
            data->setHtml(calls().call(CopyCall, QStringLiteral("selectionHtml")).toString());
            data->setText(text);
            QGuiApplication::clipboard()->setMimeData(data);
        } else {
            QGuiApplication::clipboard()->setText(text);
        }
    } catch (const PageFailure& failure) {
        qCWarning(viewLog, "the copy did not reach the clipboard: %s", qPrintable(failure.error.description()));
        return;
    }
    emit copied(format);
}

}  // namespace lumetto::engine
