#pragma once

// Runs in a process of its own: shows the product page, either in the real application or
// in a bare engine view, prints "painted" once a frame shows it, and runs until killed.
int runStartupProbe(int argc, char** argv, bool application);
