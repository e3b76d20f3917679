#include "app/ReportedControls.h"

#include "forms/EventProcedure.h"

#include "contract/ContractFailure.h"
#include "contract/HtmlViewControl.h"

#include <QCoreApplication>

#include <cstdio>

std::unique_ptr<contract::vekBrowser> ReportedControls::create(QWidget* parent, const contract::DesignSettings& settings) {
    auto control = std::make_unique<contract::HtmlViewControl>(parent, settings);
    control->setFailureReceiver([this](const lumetto::HtmlError& error) { failed(contract::runtimeErrorOfReported(error)); });
    return control;
}

void ReportedControls::failed(const contract::RuntimeError& failure) {
    if (failed_)
        return;
    failed_ = true;
    std::fprintf(stderr, "lumetto-demo: %s\n", failure.what());
    forms::runEventProcedure(platform_, [&failure] { throw failure; });
    // Once the message box is closed, from the event loop, which may not run yet.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
}
