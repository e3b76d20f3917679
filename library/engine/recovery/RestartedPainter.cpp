#include "engine/recovery/RestartedPainter.h"

#include <QQuickWidget>
#include <QTimer>
#include <QWebEngineView>

namespace lumetto::engine {
namespace {

// Once the page has loaded, and again a little later, for a painting widget the engine makes
// only after the load has ended, as it does at times when the page process restarts quickly.
constexpr int RepeatAfterMs[] = {500, 2000};

void resizeThePainters(QWebEngineView* view) {
    for (auto* painter : view->findChildren<QQuickWidget*>(Qt::FindDirectChildrenOnly)) {
        const QSize size = painter->size();
        painter->resize(size + QSize(0, 1));
        painter->resize(size);
    }
}

}  // namespace

void paintRestartedPage(QWebEngineView* view) {
    resizeThePainters(view);
    for (const int ms : RepeatAfterMs)
        QTimer::singleShot(ms, view, [view] { resizeThePainters(view); });
}

}  // namespace lumetto::engine
