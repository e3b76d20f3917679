#include "engine/accessibility/ControlAccessibility.h"

#include "engine/page/ControlPage.h"

#include <QEvent>
#include <QObject>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QWebEngineView>

namespace lumetto {
namespace {

// The engine builds the accessibility tree of its pages only when an assistive technology
// is present and this switch is on; it is read once, when the engine starts. A value the
// user set stays.
void enableRendererAccessibility() {
    static const bool done = [] {
        if (!keepsEngineEnvironment() && !qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
            qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
        return true;
    }();
    Q_UNUSED(done);
}

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
    enableRendererAccessibility();
    auto* view = new QWebEngineView(parent);
    new OffscreenWindowHider(view);
    return view;
}

}  // namespace lumetto
