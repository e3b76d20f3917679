#include "library/ViewHarness.h"

#include "driving/PageGeometry.h"
#include "driving/PageScript.h"
#include "driving/Wait.h"

#include <QFile>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>

ViewHarness::ViewHarness(Window window) : ViewHarness([](QWidget* parent) { return new lumetto::HtmlView(parent); }, window) {}

ViewHarness::ViewHarness(const std::function<lumetto::HtmlView*(QWidget* window)>& make, Window window) {
    QFile::copy(QStringLiteral(LUMETTO_ICON), base_.filePath(QStringLiteral("icon-logo.gif")));
    window_.resize(600, 400);
    view_ = make(&window_);
    view_->setGeometry(0, 0, 600, 400);
    if (window == Window::Shown)
        window_.show();
}

QWebEngineView* ViewHarness::engineView() const {
    return view_->findChild<QWebEngineView*>();
}

QVariant ViewHarness::inPage(const QString& script) const {
    return evaluateInPage(engineView(), script);
}

QPoint ViewHarness::centreOf(const QString& id) const {
    return boundingBox(engineView(), QLatin1Char('#') + id).center();
}

void ViewHarness::click(const QPoint& at, Qt::MouseButton button) const {
    QTest::mouseClick(engineView()->focusProxy(), button, {}, at);
}

QColor ViewHarness::pixelAt(const QPoint& point) const {
    return engineView()->grab().toImage().pixelColor(point);
}

QString ViewHarness::source() const {
    lumetto::HtmlError error;
    const QString source = view_->document().source(&error);
    return error.isValid() ? QString() : source;
}

qint64 ViewHarness::pageProcess() const {
    return engineView()->page()->renderProcessPid();
}

bool ViewHarness::killPageProcess() const {
    const qint64 process = pageProcess();
    return process > 0 && ::kill(static_cast<pid_t>(process), SIGKILL) == 0;
}

void ViewHarness::settle() const {
    source();
    bool turned = false;
    QTimer::singleShot(0, [&] { turned = true; });
    QTest::qWaitFor([&] { return turned; });
}
