#include "engine/ControlEvents.h"

#include "engine/ElementHandles.h"
#include "engine/Logging.h"
#include "engine/PageCalls.h"
#include "engine/PageElement.h"
#include "engine/PageFailure.h"
#include "engine/SlotGuard.h"

#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace lumetto::engine {
namespace {

constexpr const char* CopyCall = "the clipboard copy";

// How often events held back by a modal window look whether it has closed.
constexpr int BlockedRetryMs = 50;

}  // namespace

ControlEvents::ControlEvents(HtmlView* view, QWidget* page, std::shared_ptr<ElementHandles> handles, ControlMenu& menu)
    : view_(view), page_(page), handles_(std::move(handles)), menu_(menu) {
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

void ControlEvents::pageLost() {
    forgetClicked();
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [](const Pending& held) { return held.event != ViewEvent::MenuChoice; }),
                   pending_.end());
}

void ControlEvents::raisePending() {
    if (raising_ || calls().busy())
        return;
    if (windowBlocked()) {
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

bool ControlEvents::windowBlocked() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != page_->window();
}

void ControlEvents::raise(const Pending& event) {
    const QPointer<ControlEvents> alive(this);
    switch (event.event) {
    case ViewEvent::LeftClick:
        clicked_ = handles_->elementFor(event.detail);
        if (toHost())
            emit view_->leftClicked(PageElement::handleOf(clicked_));
        break;
    case ViewEvent::RightClick:
        clicked_ = handles_->elementFor(event.detail);
        if (toHost())
            emit view_->rightClicked(PageElement::handleOf(clicked_));
        if (alive && !menu_.isEmpty()) {
            const QPoint at(event.detail.value(QStringLiteral("x")).toInt(), event.detail.value(QStringLiteral("y")).toInt());
            menu_.popup(page_, at, [this](const ControlMenu::Choice& choice) { menuChosen(choice); });
        }
        break;
    case ViewEvent::MenuChoice:
        if (toHost()) {
            const QString key = event.detail.value(QStringLiteral("key")).toString();
            emit view_->menuItemTriggered(key, menu_.isChecked(key));
        }
        break;
    case ViewEvent::Copy:
        copySelection(event.detail.value(QStringLiteral("html")).toBool());
        break;
    }
}

// A choice from the menu is raised in turn with the page's events.
void ControlEvents::menuChosen(const ControlMenu::Choice& choice) {
    if (choice.kind == ControlMenu::Choice::Entry)
        queue(ViewEvent::MenuChoice, {{QStringLiteral("key"), choice.key}});
    else
        queue(ViewEvent::Copy, {{QStringLiteral("html"), choice.kind == ControlMenu::Choice::CopyHtml}});
}

// The host takes its highlight off first, so that no highlight is ever copied; then the
// selection goes to the system clipboard and the host hears which kind of copy it was.
void ControlEvents::copySelection(bool asHtml) {
    const bool toHost = this->toHost();
    const QPointer<ControlEvents> alive(this);
    if (toHost)
        emit view_->restoreHighlightRequested();
    if (!alive)
        return;
    try {
        const QString text = calls().call(CopyCall, QStringLiteral("createRange")).toMap().value(QStringLiteral("text")).toString();
        if (asHtml) {
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
    if (toHost)
        emit view_->clipboardCopied(asHtml);
}

}  // namespace lumetto::engine
