#include "engine/accessibility/ControlAccessibility.h"

#include "engine/page/ControlPage.h"

#include <lumetto/EngineEnvironment.h>

#include <QEvent>
#include <QObject>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QWebEngineView>

namespace lumetto::engine {
namespace {

// The view paints through a widget that renders into a window of its own which is never
// shown. Listed as a top-level window, a screen reader would offer it as an empty frame
// named "Offscreen"; as a desktop window it is left out of the application's windows.
class OffscreenWindowHider : public QObject {
public:
    explicit OffscreenWindowHider(QWebEngineView* view) : QObject(view) {
        view->installEventFilter(this);
        hideOffscreenWindows(view);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // The view makes a new painting widget when its page process restarts.
        if (event->type() == QEvent::ChildPolished)
            hideOffscreenWindows(watched);
        return false;
    }

private:
    static void hideOffscreenWindows(QObject* view) {
        for (auto* painter : view->findChildren<QQuickWidget*>(Qt::FindDirectChildrenOnly)) {
            QQuickWindow* offscreen = painter->quickWindow();
            if (offscreen && offscreen->type() != Qt::Desktop)
                offscreen->setFlags(Qt::Desktop);
        }
    }
};

}  // namespace

QWebEngineView* accessibleView(QWidget* parent) {
    prepareEngineEnvironment();  // screen readers see the pages of the engine it starts
    auto* view = new QWebEngineView(parent);
    new OffscreenWindowHider(view);
    return view;
}

}  // namespace lumetto::engine
