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
    enum { App, Bare, OneView, TwoViews, Count };
    const Subject* measured[Count] = {&subjects.application, &subjects.bareView, &subjects.bareWindowOneView,
                                      &subjects.bareWindow};
    Samples ms[Count], mib[Count];
    for (int i = 0; i < runs; ++i) {
        // Each run starts with another subject, so that none always comes first or last.
        for (int k = 0; k < Count; ++k) {
            const int s = (i + k) % Count;
            const auto started = start(screen, *measured[s], logo);
            if (!started)
                return false;
            ms[s].add(started->firstPaintMs);
            mib[s].add(started->memory.residentKiB / 1024.0);
        }
    }
    printHeader("application");
    printRow(qPrintable(QStringLiteral("start-up: process start to the logo on screen, ms, %1 runs").arg(runs)), ms[App], ms[Bare]);
    printRow("memory after start-up, resident, with engine processes, MiB", mib[App], mib[Bare]);
    printRow("start-up of a bare window with the page's view only, ms (not the application)", ms[OneView], ms[Bare]);
    printRow("start-up of a bare window with two views, ms (not the application)", ms[TwoViews], ms[Bare]);
    return true;
}
