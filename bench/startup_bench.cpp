// Start-up: process start to the product page painted, and the memory of the process with
// its engine helpers, for the application and for a bare engine view showing the same page.
#include "ProcessTree.h"
#include "StartupProbe.h"
#include "Stats.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <cstring>

namespace {

struct Run {
    double startupMs = -1;
    TreeMemory memory;
};

Run measure(const QString& self, const char* mode) {
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    probe.start(self, {QStringLiteral("--probe"), QLatin1String(mode)});
    Run run;
    while (probe.waitForReadyRead(30000)) {
        if (probe.readAll().contains("painted")) {
            run.startupMs = clock.nsecsElapsed() / 1e6;
            break;
        }
    }
    QThread::msleep(1000);  // let the engine settle before reading its memory
    run.memory = memoryOfTree(probe.processId());
    probe.kill();
    probe.waitForFinished();
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--probe") == 0)
        return runStartupProbe(argc, argv, std::strcmp(argv[2], "app") == 0);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    const QString self = QCoreApplication::applicationFilePath();
    Samples appMs, bareMs, appMiB, bareMiB, appPssMiB, barePssMiB;
    for (int i = 0; i < runs; ++i) {
        // Alternate, so that drift in the machine's load touches both alike.
        const Run bare = measure(self, "bare");
        const Run application = measure(self, "app");
        bareMs.add(bare.startupMs);
        appMs.add(application.startupMs);
        bareMiB.add(bare.memory.residentKiB / 1024.0);
        appMiB.add(application.memory.residentKiB / 1024.0);
        barePssMiB.add(bare.memory.proportionalKiB / 1024.0);
        appPssMiB.add(application.memory.proportionalKiB / 1024.0);
    }
    std::printf("Start-up over %d runs each (median [min-max])\n", runs);
    printRow("process start to page painted, ms", appMs, bareMs);
    printRow("resident memory with engine processes, MiB", appMiB, bareMiB);
    printRow("proportional memory (PSS), MiB", appPssMiB, barePssMiB);
    return 0;
}
