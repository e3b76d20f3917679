#include "control/ControlHarness.h"

#include "driving/PageGeometry.h"
#include "driving/PageScript.h"
#include "driving/Wait.h"

#include "contract/ContractFailure.h"

#include <QFile>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

ControlHarness::ControlHarness(const contract::DesignSettings& settings, Window window) {
    QFile::copy(QStringLiteral(LUMETTO_ICON), base_.filePath(QStringLiteral("icon-logo.gif")));
    window_.resize(600, 400);
    control_ = std::make_unique<contract::HtmlViewControl>(&window_, settings);
    control_->widget()->setGeometry(0, 0, 600, 400);
    if (window == Window::Shown)
        window_.show();
}

QWebEngineView* ControlHarness::view() const {
    return control_->widget()->findChild<QWebEngineView*>();
}

QVariant ControlHarness::inPage(const QString& script) const {
    return evaluateInPage(view(), script);
}

QPoint ControlHarness::centreOf(const QString& id) const {
    return boundingBox(view(), QLatin1Char('#') + id).center();
}

void ControlHarness::click(const QPoint& at, Qt::MouseButton button) const {
    QTest::mouseClick(view()->focusProxy(), button, {}, at);
}

QColor ControlHarness::pixelAt(const QPoint& point) {
    return view()->grab().toImage().pixelColor(point);
}

contract::RuntimeError reportedFailure(const QList<QVariant>& failedArguments) {
    return contract::runtimeErrorOfReported(failedArguments.at(0).value<lumetto::HtmlError>());
}
