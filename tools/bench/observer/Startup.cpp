// Start-up: from the process's start to the product page's logo on the screen, and the memory
// of the process with its engine helpers a second later.
#include "Benchmarks.h"
#include "Measured.h"

#include "bench/Stats.h"

#include <QThread>

#include <cstdio>

std::optional<Started> startUntilPainted(XScreen& screen, const Subject& subject, const QRect& logo) {
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

bool startInTurns(XScreen& screen, const QList<const Subject*>& subjects, const QRect& logo, int runs,
                  QList<Samples>& ms, QList<Samples>& mib) {
    const auto count = subjects.size();
    ms.resize(count);
    mib.resize(count);
    for (int i = 0; i < runs; ++i) {
        // Each run starts with another subject, so that none always comes first or last.
        for (qsizetype k = 0; k < count; ++k) {
            const qsizetype s = (i + k) % count;
            const auto started = startUntilPainted(screen, *subjects[s], logo);
            if (!started)
                return false;
            ms[s].add(started->firstPaintMs);
            mib[s].add(started->memory.residentKiB / 1024.0);
        }
    }
    return true;
}

bool measureStartup(XScreen& screen, const Subjects& subjects, int runs) {
    enum { App, Bare, OneView, TwoViews };
    QList<Samples> ms, mib;
    if (!startInTurns(screen, {&subjects.application, &subjects.bareView, &subjects.bareWindowOneView, &subjects.bareWindow},
                      subjects.layout["logo"], runs, ms, mib))
        return false;
    printHeader("application");
    printRow(qPrintable(QStringLiteral("start-up: process start to the logo on screen, ms, %1 runs").arg(runs)), ms[App], ms[Bare]);
    printRow("memory after start-up, resident, with engine processes, MiB", mib[App], mib[Bare]);
    printRow("start-up of a bare window with the page's view only, ms (not the application)", ms[OneView], ms[Bare]);
    printRow("start-up of a bare window with two views, ms (not the application)", ms[TwoViews], ms[Bare]);
    return true;
}
