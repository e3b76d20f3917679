#include "BenchApp.h"

#include "ViewProbe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>

std::unique_ptr<hosted::vekBrowser> BenchApp::Controls::create(QWidget* parent, const hosted::DesignSettings& settings) {
    auto control = real_.create(parent, settings);
    created.push_back(control.get());
    return control;
}

BenchApp::BenchApp() : form_(std::make_unique<Form1>(controls_, platform_)) {
    if (!form_->load()) {
        std::fprintf(stderr, "Form1 did not load\n");
        std::exit(1);
    }
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get()))
        std::exit(1);
    QTest::qWait(500);
}

QWebEngineView* BenchApp::pageView() const {
    return form_->findChild<QWebEngineView*>(QStringLiteral("vekBrowser1"));
}

QLabel* BenchApp::label(const char* name) const {
    return form_->findChild<QLabel*>(QLatin1String(name));
}

QRect BenchApp::boundsOf(const QString& selector) const {
    return view_probe::boundsOf(pageView(), selector, QWebEngineScript::ApplicationWorld);
}

void BenchApp::click(const QPoint& at) const {
    QTest::mouseClick(pageView()->focusProxy(), Qt::LeftButton, {}, at);
}

bool BenchApp::waitForLabel(const char* name, const QString& text, int timeoutMs) const {
    QElapsedTimer timer;
    timer.start();
    while (label(name)->text() != text) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}
