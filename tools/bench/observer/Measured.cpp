#include "Measured.h"

#include "driving/ProductPage.h"

#include <QThread>

MeasuredProgram::MeasuredProgram(const QString& program, const QStringList& arguments, const char* title)
    : title_(title) {
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(program, arguments);
}

MeasuredProgram::~MeasuredProgram() {
    process_.kill();
    process_.waitForFinished();
}

std::optional<double> msUntil(const QElapsedTimer& clock, const std::function<bool()>& condition, int timeoutMs,
                              int pollUs) {
    while (clock.elapsed() < timeoutMs) {
        if (condition())
            return clock.nsecsElapsed() / 1e6;
        QThread::usleep(pollUs);
    }
    return std::nullopt;
}

std::optional<QPoint> waitForWindow(const XScreen& screen, const MeasuredProgram& program, int timeoutMs) {
    std::optional<QPoint> origin;
    QElapsedTimer clock;
    clock.start();
    // Looking for a window asks the X server several questions: less often than for pixels.
    msUntil(clock, [&] { return (origin = screen.windowOrigin(program.title())).has_value(); }, timeoutMs, 5000);
    return origin;
}

bool isLogoBlue(QRgb pixel) {
    return pixel == product_page::LogoBlue.rgb();
}

bool isHighlight(QRgb pixel) {
    return pixel == product_page::Highlight.rgb();
}

bool isDark(QRgb pixel) {
    return qGray(pixel) < 128;
}

bool isDrawn(QRgb pixel) {
    return qGray(pixel) < 230;
}
