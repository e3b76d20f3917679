#include "BenchApp.h"

#include "driving/PageGeometry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>

QLabel* BenchApp::labelWidget(const char* name) {
    return form().findChild<QLabel*>(QLatin1String(name));
}

QRect BenchApp::boundsOf(const QString& selector) const {
    return boundingBox(pageView(), selector);
}

bool BenchApp::waitForLabel(const char* name, const QString& text, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (label(name) != text) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}
