#pragma once

#include "driving/RunningApp.h"

#include <QRect>

class QLabel;

// The running application with what a benchmark needs on top: labels it can clear and a wait
// as tight as the event loop allows, so that waiting adds nothing to what is measured.
class BenchApp : public RunningApp {
public:
    QLabel* labelWidget(const char* name);
    // Where the first element matching a selector is, in the page view.
    QRect boundsOf(const QString& selector) const;
    // Handles events until the label reads text, up to timeoutMs; returns whether it did.
    bool waitForLabel(const char* name, const QString& text, int timeoutMs = 5000);
};
