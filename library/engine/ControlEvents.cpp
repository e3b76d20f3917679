#include "engine/ControlEvents.h"

#include "engine/DispatchIds.h"
#include <lumetto/vekBrowser.h>
#include "engine/ElementHandles.h"
#include "engine/PageCalls.h"
#include "engine/WebElement.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace lumetto {
namespace {

const Member CopyMember{0, "clipboard copy"};

// How often events held back by a modal window look whether it has closed.
constexpr int BlockedRetryMs = 50;

}  // namespace

ControlEvents::ControlEvents(QWidget* view, std::shared_ptr<ElementHandles> handles, ControlMenu& menu,
                             bool respondToEvents)
    : view_(view), handles_(std::move(handles)), menu_(menu), respondToEvents_(respondToEvents) {
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

void ControlEvents::queue(int dispId, const QVariantMap& detail) {
    pending_.push_back({dispId, detail});
    raiseTimer_.start();
}

void ControlEvents::pageLost() {
    forgetClicked();
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [](const Pending& event) { return event.dispId != lumetto::DispId::MenuItemClick; }),
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
        try {
            raise(event);
        } catch (const std::exception& failure) {
            qWarning("lumetto: a handler of the control's event failed: %s", failure.what());
        } catch (...) {
            qWarning("lumetto: a handler of the control's event failed");
        }
        if (alive)
            raising_ = false;
    }
}

bool ControlEvents::windowBlocked() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != view_->window();
}

void ControlEvents::raise(const Pending& event) {
    const QPointer<ControlEvents> alive(this);
    switch (event.dispId) {
    case lumetto::DispId::LeftClick:
        clicked_ = handles_->elementFor(event.detail);
        if (toHost())
            sink_->LeftClick();
        break;
    case lumetto::DispId::RightClick:
        clicked_ = handles_->elementFor(event.detail);
        if (toHost())
            sink_->RightClick();
        if (alive && !menu_.isEmpty()) {
            const QPoint at(event.detail.value(QStringLiteral("x")).toInt(), event.detail.value(QStringLiteral("y")).toInt());
            menu_.popup(view_, at, [this](const ControlMenu::Choice& choice) { menuChosen(choice); });
        }
        break;
    case lumetto::DispId::MenuItemClick:
        if (toHost())
            raiseMenuChoice(event.detail.value(QStringLiteral("key")).toString());
        break;
    case lumetto::DispId::ClipboardCopy:
        copySelection(event.detail.value(QStringLiteral("html")).toBool());
        break;
    }
}

// A choice from the menu is raised in turn with the page's events.
void ControlEvents::menuChosen(const ControlMenu::Choice& choice) {
    if (choice.kind == ControlMenu::Choice::Entry)
        queue(lumetto::DispId::MenuItemClick, {{QStringLiteral("key"), choice.key}});
    else
        queue(lumetto::DispId::ClipboardCopy, {{QStringLiteral("html"), choice.kind == ControlMenu::Choice::CopyHtml}});
}

void ControlEvents::raiseMenuChoice(const QString& chosenKey) {
    QString key = chosenKey;
    lumetto::Variant reserved1;
    lumetto::Variant reserved2;
    int16_t checkState = menu_.isChecked(key) ? -1 : 0;
    sink_->MenuItemClick(key, reserved1, checkState, reserved2);
}

// The host takes its highlight off first, so that no highlight is ever copied; then the
// selection goes to the system clipboard and the host hears which kind of copy it was.
void ControlEvents::copySelection(bool asHtml) {
    const bool toHost = this->toHost();
    const QPointer<ControlEvents> alive(this);
    if (toHost)
        sink_->RestoreHighlight();
    if (!alive)
        return;
    try {
        const QString text = calls().call(CopyMember, QStringLiteral("createRange")).toMap().value(QStringLiteral("text")).toString();
        if (asHtml) {
            auto* data = new QMimeData;
            data->setHtml(calls().call(CopyMember, QStringLiteral("selectionHtml")).toString());
            data->setText(text);
            QGuiApplication::clipboard()->setMimeData(data);
        } else {
            QGuiApplication::clipboard()->setText(text);
        }
    } catch (const lumetto::RuntimeError& failure) {
        qWarning("The copy did not reach the clipboard: %s", failure.what());
        return;
    }
    int32_t copiedAsHtml = asHtml ? 1 : 0;
    if (toHost)
        sink_->ClipboardCopy(copiedAsHtml);
}

}  // namespace lumetto
