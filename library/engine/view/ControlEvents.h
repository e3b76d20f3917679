#pragma once

#include "engine/page/PageEvents.h"

#include <lumetto/HtmlView.h>

#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <deque>
#include <functional>
#include <memory>

namespace lumetto::engine {

class ElementHandles;
class EngineView;
class PageCalls;
class PageElement;

// The view's events: queued as they come from the page or from the view's clipboard actions, and emitted
// one at a time, which each face of the view emits as its own signals. One that arrives while a handler runs, or while a call
// waits for the page, is raised after it; one that arrives while a modal window (a run-time
// error's message box, a dialog) keeps the person from the control's window waits until that
// window is closed.
//
// A click the page waits in (HostAnswer) is raised as soon as it comes, and the page answered
// once its handlers have returned and its request has come. A page that waits while its click
// cannot be raised at once (other events come first, a handler or a call waits, a modal window
// is up, something sent to the page has not run there yet) is answered at once, and its click
// raised as any event.
class LUMETTO_CONTROL_EXPORT ControlEvents : public QObject {
    Q_OBJECT
public:
    ControlEvents(EngineView& view, std::shared_ptr<ElementHandles> handles);

    // The element under the last click, held until the next one or until the page is lost.
    const std::shared_ptr<PageElement>& clicked() const { return clicked_; }
    void forgetClicked() { clicked_.reset(); }
    // The page process died: the clicked element goes, and so do the held events of that page
    // (clicks, whose elements died with it, and copies, whose selection did).
    void pageLost();
    // A copy of the page's selection, raised in turn with the page's events.
    void queueCopy(HtmlView::CopyFormat format);
    // Whether a slot receives the view's clicked(), which only the view itself can tell.
    std::function<bool()> clicksHeard = [] { return true; };

public slots:
    // An event the page side reported.
    void queue(lumetto::engine::ViewEvent event, const QVariantMap& detail);

signals:
    // The user clicked element with button; after a right click the menu opens, once the
    // receivers have returned.
    void elementClicked(const lumetto::HtmlElement& element, Qt::MouseButton button);
    void aboutToCopy(lumetto::HtmlView::CopyFormat format);
    void copied(lumetto::HtmlView::CopyFormat format);

private:
    struct Pending {
        ViewEvent event;
        QVariantMap detail;
    };

    void raisePending();
    // The page waits in the click of that number.
    void pageWaits(int number);
    bool canRaiseAtOnce(int number) const;
    // Whether nothing keeps the page from waiting for its click's handlers.
    bool pageCanWait() const;
    // Raises a click; one the page waits in is answered once its handlers have returned.
    void raiseClick(const Pending& event, Qt::MouseButton button);
    void raise(const Pending& event);
    void copySelection(HtmlView::CopyFormat format);
    PageCalls& calls() const;

    EngineView& view_;  // where the menu opens
    std::shared_ptr<ElementHandles> handles_;
    bool raising_ = false;
    QTimer raiseTimer_;
    QTimer blockedRetry_;
    // How long the page's request for its click's answer waits for the click, which the page
    // sent just before it, another way.
    QTimer pairBound_;
    std::deque<Pending> pending_;
    std::shared_ptr<PageElement> clicked_;
};

}  // namespace lumetto::engine
