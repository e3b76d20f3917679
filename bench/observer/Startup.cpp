// Start-up: from the process's start to the product page's logo on the screen, and the memory
// of the process with its engine helpers a second later.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/ProcessTree.h"
#include "bench/Stats.h"

#include <QThread>

#include <cstdio>
#include <iterator>

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
    const Subject* measured[] = {&subjects.application, &subjects.bareView, &subjects.bareWindowOneView,
                                 &subjects.bareWindow};
    constexpr int Count = std::size(measured);
    Samples ms[Count], appMiB, bareMiB;
    for (int i = 0; i < runs; ++i) {
        // Each run starts with another subject, so that none always comes first or last.
        for (int k = 0; k < Count; ++k) {
            const int s = (i + k) % Count;
            const auto started = start(screen, *measured[s], logo);
            if (!started)
                return false;
            ms[s].add(started->firstPaintMs);
            if (s < 2)
                (s == 0 ? appMiB : bareMiB).add(started->memory.residentKiB / 1024.0);
        }
    }
    printHeader("application");
    printRow(qPrintable(QStringLiteral("start-up: process start to the logo on screen, ms, %1 runs").arg(runs)), ms[0], ms[1]);
    printRow("memory after start-up, resident, with engine processes, MiB", appMiB, bareMiB);
    printRow("start-up of a bare window with the page's view only, ms (not the application)", ms[2], ms[1]);
    printRow("start-up of a bare window with two views, ms (not the application)", ms[3], ms[1]);
    return true;
}
