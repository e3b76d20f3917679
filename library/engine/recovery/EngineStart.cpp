#include "engine/recovery/EngineStart.h"

#include "engine/page/EngineView.h"

#include <lumetto/EngineEnvironment.h>

#include <utility>

namespace lumetto {

void prepareEngineEnvironment() {
    static bool prepared = false;
    if (std::exchange(prepared, true) || qEnvironmentVariableIsSet("LUMETTO_KEEP_ENGINE_ENVIRONMENT"))
        return;
    // The views of the process share one page process, so that a second view costs little.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --renderer-process-limit=1");
    // The engine builds the accessibility tree of its pages only when an assistive technology
    // is present and this switch is on. A value the user set stays.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
}

}  // namespace lumetto

namespace lumetto::engine::EngineStart {
namespace {

bool hadPage = false;

}  // namespace

QString failure(int status, int exitCode) {
    switch (status) {
    case EngineView::Killed:
        return {};
    case EngineView::Crashed:
        if (exitCode != 0)  // a signal: the process ran, and its content may have ended it
            return {};
        [[fallthrough]];
    case EngineView::NormalEnd:
    case EngineView::AbnormalEnd:
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

}  // namespace lumetto::engine::EngineStart
