#include "ViewProbe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace view_probe {

QVariant evaluate(QWebEngineView* view, const QString& script, quint32 world) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, world, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return result;
}

QRect boundsOf(QWebEngineView* view, const QString& selector, quint32 world) {
    const QVariantList box = evaluate(view, QStringLiteral(
        "(() => { const r = document.querySelector('%1').getBoundingClientRect();"
        " return [r.left, r.top, r.width, r.height]; })()").arg(selector), world).toList();
    if (box.size() != 4)
        return {};
    return QRect(box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt());
}

bool waitForColour(QWebEngineView* view, const QPoint& point, const QColor& colour, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents();
        if (view->grab(QRect(point, QSize(1, 1))).toImage().pixelColor(0, 0) == colour)
            return true;
    }
    return false;
}

}  // namespace view_probe
