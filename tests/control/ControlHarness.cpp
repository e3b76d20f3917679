#include "control/ControlHarness.h"

#include "support/Wait.h"

#include <QFile>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
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

QVariant ControlHarness::inPage(const QString& script) const {
    QVariant result;
    bool done = false;
    view()->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    waitFor([&] { return done; });
    return result;
}

QPoint ControlHarness::centreOf(const QString& id) const {
    const QVariantList box = inPage(QStringLiteral(
        "(() => { const r = document.getElementById('%1').getBoundingClientRect();"
        " return [r.left + r.width / 2, r.top + r.height / 2]; })()").arg(id)).toList();
    return box.size() == 2 ? QPoint(box[0].toInt(), box[1].toInt()) : QPoint(-1, -1);
}

void ControlHarness::click(const QPoint& at, Qt::MouseButton button) const {
    QTest::mouseClick(view()->focusProxy(), button, {}, at);
}

QColor ControlHarness::pixelAt(const QPoint& point) {
    return view()->grab().toImage().pixelColor(point);
}
