#include "engine/recovery/EngineStart.h"

namespace lumetto::EngineStart {
namespace {

bool hadPage = false;

}  // namespace

QString failure(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
    switch (status) {
    case QWebEnginePage::KilledTerminationStatus:
        return {};
    case QWebEnginePage::CrashedTerminationStatus:
        if (exitCode != 0)  // a signal: the process ran, and its content may have ended it
            return {};
        [[fallthrough]];
    case QWebEnginePage::NormalTerminationStatus:
    case QWebEnginePage::AbnormalTerminationStatus:
        if (hadPage)
            return {};
        return QStringLiteral("the display engine cannot start: its helper process (QtWebEngineProcess) ended as it "
                              "started (status %1)")
            .arg(exitCode);
    }
    // The engine names no status for a process it could not launch.
    return QStringLiteral("the display engine cannot start: its helper process (QtWebEngineProcess) could not be "
                          "launched (code %1)")
        .arg(exitCode);
}

void pageLoaded() {
    hadPage = true;
}

}  // namespace lumetto::EngineStart
