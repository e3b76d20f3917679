#pragma once

#include "driving/Wait.h"

#include <QString>
#include <QVariant>

class QWebEngineView;

// Evaluates a script in the view's page, in the control's own script world (the page's own
// scripts are off), and waits for its value; invalid when no answer came within timeoutMs.
QVariant evaluateInPage(QWebEngineView* view, const QString& script, int timeoutMs = WaitBoundMs);

// A text as a script literal.
QString scriptString(const QString& text);
