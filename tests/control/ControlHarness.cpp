#include "control/ControlHarness.h"

#include <QFile>
#include <QTest>
#include <QWebEngineView>

ControlHarness::ControlHarness(const hosted::DesignSettings& settings) {
    QFile::copy(QStringLiteral(LUMETTO_ICON), base_.filePath(QStringLiteral("icon-logo.gif")));
    window_.resize(600, 400);
    control_ = std::make_unique<lumetto::WebBrowserControl>(&window_, settings);
    control_->widget()->setGeometry(0, 0, 600, 400);
    window_.show();
}

QWebEngineView* ControlHarness::view() const {
    return static_cast<QWebEngineView*>(control_->widget());
}

QColor ControlHarness::pixelAt(const QPoint& point) {
    return view()->grab().toImage().pixelColor(point);
}
