#pragma once

#include "engine/ControlMenu.h"

#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <deque>
#include <memory>

class QWidget;

namespace lumetto {
class vekBrowserEvents;
}

namespace lumetto {

class ElementHandles;
class PageCalls;
class WebElement;

// The control's events: queued as they come from the page or from the control's menu, and
// raised to the host one at a time. One that arrives while a handler runs, or while a call
// waits for the page, is raised after it; one that arrives while a modal window (a run-time
// error's message box, a dialog) keeps the person from the control's window waits until that
// window is closed.
class ControlEvents : public QObject {
    Q_OBJECT
public:
    ControlEvents(QWidget* view, std::shared_ptr<ElementHandles> handles, ControlMenu& menu, bool respondToEvents);

    // Events reach the host only with a sink, and only while the control responds to events.
    void setSink(lumetto::vekBrowserEvents* sink) { sink_ = sink; }
    bool respondsToEvents() const { return respondToEvents_; }
    void setRespondsToEvents(bool responds) { respondToEvents_ = responds; }

    // The element under the last click, held until the next one or until the page is lost.
    const std::shared_ptr<WebElement>& clicked() const { return clicked_; }
    void forgetClicked() { clicked_.reset(); }
    // The page process died: the clicked element goes, and so do the held events of that page
    // (clicks, whose elements died with it, and copies, whose selection did). A choice of a
    // custom menu entry is the host's and stays.
    void pageLost();

public slots:
    // An event the page side reported, tagged with its dispatch id.
    void queue(int dispId, const QVariantMap& detail);

private:
    struct Pending {
        int dispId;
        QVariantMap detail;
    };

    void raisePending();
    bool windowBlocked() const;
    void raise(const Pending& event);
    void menuChosen(const ControlMenu::Choice& choice);
    void raiseMenuChoice(const QString& key);
    void copySelection(bool asHtml);
    bool toHost() const { return sink_ && respondToEvents_; }
    PageCalls& calls() const;

    QWidget* view_;
    std::shared_ptr<ElementHandles> handles_;
    ControlMenu& menu_;
    bool respondToEvents_;
    lumetto::vekBrowserEvents* sink_ = nullptr;
    bool raising_ = false;
    QTimer raiseTimer_;
    QTimer blockedRetry_;
    std::deque<Pending> pending_;
    std::shared_ptr<WebElement> clicked_;
};

}  // namespace lumetto
