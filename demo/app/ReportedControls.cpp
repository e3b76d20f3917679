#include "app/ReportedControls.h"

#include "forms/EventProcedure.h"

#include <lumetto/BrowserWidget.h>
#include <lumetto/RuntimeError.h>

#include <QCoreApplication>

#include <cstdio>

std::unique_ptr<lumetto::vekBrowser> ReportedControls::create(QWidget* parent, const lumetto::DesignSettings& settings) {
    auto control = std::make_unique<lumetto::BrowserWidget>(parent, settings);
    QObject::connect(control.get(), &lumetto::BrowserWidget::failed, control.get(),
                     [this](int code, const QString& description) { failed(code, description); });
    return control;
}

void ReportedControls::failed(int code, const QString& description) {
    if (failed_)
        return;
    failed_ = true;
    const lumetto::RuntimeError failure(code, description);
    std::fprintf(stderr, "lumetto-demo: %s\n", failure.what());
    forms::runEventProcedure(platform_, [&failure] { throw failure; });
    // Once the message box is closed, from the event loop, which may not run yet.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}
