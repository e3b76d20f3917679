#pragma once

#include "driving/XScreen.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <functional>
#include <optional>

// A program under measurement, started by the observer and ended with it. Its output goes
// nowhere; the observer learns everything from the screen.
class MeasuredProgram {
public:
    MeasuredProgram(const QString& program, const QStringList& arguments, const char* title);
    ~MeasuredProgram();

    qint64 pid() const { return process_.processId(); }
    const char* title() const { return title_; }

private:
    QProcess process_;
    const char* title_;
};

// Polls until condition holds, every pollUs microseconds: the milliseconds since clock started,
// or nothing after timeoutMs.
std::optional<double> msUntil(const QElapsedTimer& clock, const std::function<bool()>& condition, int timeoutMs,
                              int pollUs = 500);

// Where a program's window is once it is on the screen, within timeoutMs.
std::optional<QPoint> waitForWindow(const XScreen& screen, const MeasuredProgram& program, int timeoutMs = 60000);

bool isLogoBlue(QRgb pixel);
bool isHighlight(QRgb pixel);
bool isDark(QRgb pixel);  // text
bool isDrawn(QRgb pixel);  // anything but the page's white
