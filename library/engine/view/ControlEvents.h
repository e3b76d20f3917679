#pragma once

#include "engine/page/PageEvents.h"

#include <lumetto/HtmlView.h>

#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <deque>
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
    void raise(const Pending& event);
    void copySelection(HtmlView::CopyFormat format);
    PageCalls& calls() const;

    EngineView& view_;  // where the menu opens
    std::shared_ptr<ElementHandles> handles_;
    bool raising_ = false;
    QTimer raiseTimer_;
    QTimer blockedRetry_;
    std::deque<Pending> pending_;
    std::shared_ptr<PageElement> clicked_;
};

}  // namespace lumetto::engine
