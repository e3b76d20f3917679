#pragma once

#include <QString>

namespace lumetto::engine {

// The environment the engine starts with: lumetto::prepareEngineEnvironment() (EngineStart.cpp).
//
// Whether the display engine can start page processes, as the ends of its page processes tell.
// A page process that could not be launched at all, or that ended by itself before any control
// of the process ever had a page, tells that the engine cannot start one: its helper process
// is missing, broken or not allowed to run, and starting it again only fails again. The engine
// reports such an end as an exit, or as a crash without a signal when it sees the process's
// channel break before the process has exited. A page process killed from outside, one that
// crashed on a signal (content can make it), and one that ends once pages have loaded are
// started again with the control's next shell.
namespace EngineStart {

// Why the engine cannot start a page process, after one ended so; empty when it can.
// status is an EngineView::ProcessEnd.
QString failure(int status, int exitCode);
// A control's page loaded: the engine's page processes start.
void pageLoaded();

}  // namespace EngineStart

}  // namespace lumetto::engine
