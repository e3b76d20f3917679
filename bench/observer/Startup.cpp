// Start-up: from the process's start to the product page's logo on the screen, and the memory
// of the process with its engine helpers a second later.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/ProcessTree.h"
#include "bench/Stats.h"

#include <QThread>

#include <cstdio>

namespace {

struct Started {
    double firstPaintMs = 0;
    TreeMemory memory;
};

std::optional<Started> start(XScreen& screen, const Subject& subject, const QRect& logo) {
    QElapsedTimer clock;
    clock.start();
    MeasuredProgram measured(subject.program, subject.arguments, subject.title);
    std::optional<QPoint> origin;
    // The window's place is known once the window is shown; until then there is nothing to read.
    const auto painted = msUntil(clock, [&] {
        if (!origin)
            origin = screen.windowOrigin(subject.title);
        return origin && screen.anyPixel(logo.translated(*origin + subject.page), isLogoBlue);
    }, 60000);
    if (!painted) {
        std::fprintf(stderr, "%s: the product page was never painted\n", subject.title);
        return std::nullopt;
    }
    QThread::msleep(1000);  // the engine settled
    return Started{*painted, memoryOfTree(measured.pid())};
}

}  // namespace

bool measureStartup(XScreen& screen, const Subjects& subjects, int runs) {
    const QRect logo = subjects.layout["logo"];
    Samples appMs, bareMs, windowMs, appMiB, bareMiB;
    for (int i = 0; i < runs; ++i) {
        const auto bare = start(screen, subjects.bareView, logo);
        const auto window = start(screen, subjects.bareWindow, logo);
        const auto app = start(screen, subjects.application, logo);
        if (!bare || !app || !window)
            return false;
        bareMs.add(bare->firstPaintMs);
        windowMs.add(window->firstPaintMs);
        appMs.add(app->firstPaintMs);
        bareMiB.add(bare->memory.residentKiB / 1024.0);
        appMiB.add(app->memory.residentKiB / 1024.0);
    }
    printHeader("application");
    printRow(qPrintable(QStringLiteral("start-up: process start to the logo on screen, ms, %1 runs").arg(runs)), appMs, bareMs);
    printRow("memory after start-up, resident, with engine processes, MiB", appMiB, bareMiB);
    printRow("start-up of a bare window with two views, ms (not the application)", windowMs, bareMs);
    return true;
}
