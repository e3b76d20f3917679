#pragma once

#include <QString>
#include <QWebEnginePage>

namespace lumetto {

// Whether the display engine can start page processes, as the ends of its page processes tell.
// A page process that crashed or was killed is started again with the control's next shell.
// One that could not be launched at all, or that ended by itself with an error before any
// control of the process ever had a page, tells that the engine cannot start one: its helper
// process is missing, broken or not allowed to run, and starting it again only fails again.
namespace EngineStart {

// Why the engine cannot start a page process, after one ended so; empty when it can.
QString failure(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);
// A control's page loaded: the engine's page processes start.
void pageLoaded();

}  // namespace EngineStart

}  // namespace lumetto
