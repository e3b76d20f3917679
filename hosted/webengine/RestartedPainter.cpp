#include "hosted/webengine/RestartedPainter.h"

#include <QWebEngineView>

namespace lumetto {

void paintRestartedPage(QWebEngineView* view) {
    QWidget* painter = view->focusProxy();
    if (!painter)
        return;
    const QSize size = painter->size();
    painter->resize(size + QSize(0, 1));
    painter->resize(size);
}

}  // namespace lumetto
