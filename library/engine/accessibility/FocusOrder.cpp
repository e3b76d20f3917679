#include "engine/accessibility/FocusOrder.h"

#include <QEvent>
#include <QQuickWidget>
#include <QWebEngineView>

namespace lumetto::engine {
namespace {

class PainterFocusOrder : public QObject {
public:
    explicit PainterFocusOrder(QWebEngineView* view) : QObject(view), view_(view) { view->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == view_ && event->type() == QEvent::ChildAdded) {
            auto* painter = qobject_cast<QQuickWidget*>(static_cast<QChildEvent*>(event)->child());
            if (painter && view_->nextInFocusChain() != painter) {
                // Without its proxy the view itself takes the place the order is set for.
                QWidget* proxy = view_->focusProxy();
                view_->setFocusProxy(nullptr);
                QWidget::setTabOrder(view_, painter);
                view_->setFocusProxy(proxy);
            }
        }
        return false;
    }

private:
    QWebEngineView* view_;
};

}  // namespace

void keepPainterInFocusOrder(QWebEngineView* view) {
    new PainterFocusOrder(view);
}

}  // namespace lumetto::engine
