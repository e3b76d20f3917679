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

std::optional<Started> start(XScreen& screen, const QString& program, const char* title, const QRect& logo) {
    QElapsedTimer clock;
    clock.start();
    MeasuredProgram measured(program, {}, title);
    std::optional<QPoint> origin;
    // The window's place is known once the window is shown; until then there is nothing to read.
    const auto painted = msUntil(clock, [&] {
        if (!origin)
            origin = screen.windowOrigin(title);
        return origin && screen.anyPixel(logo.translated(*origin), isLogoBlue);
    }, 60000);
    if (!painted) {
        std::fprintf(stderr, "%s: the product page was never painted\n", title);
        return std::nullopt;
    }
    QThread::msleep(1000);  // the engine settled
    return Started{*painted, memoryOfTree(measured.pid())};
}

}  // namespace

bool measureStartup(XScreen& screen, const Subjects& subjects, int runs) {
    const QRect logo = subjects.layout["logo"];
    Samples appMs, bareMs, appMiB, bareMiB;
    for (int i = 0; i < runs; ++i) {
        const auto bare = start(screen, subjects.bareView, "bare view", logo);
        const auto app = start(screen, subjects.application, "Form1", logo.translated(subjects.layout["page"].topLeft()));
        if (!bare || !app)
            return false;
        bareMs.add(bare->firstPaintMs);
        appMs.add(app->firstPaintMs);
        bareMiB.add(bare->memory.residentKiB / 1024.0);
        appMiB.add(app->memory.residentKiB / 1024.0);
    }
    std::printf("Start-up, %d runs each, median [range]\n", runs);
    printRow("process start to the page's logo on screen, ms", appMs, bareMs);
    printRow("resident memory with engine processes, MiB", appMiB, bareMiB);
    return true;
}
