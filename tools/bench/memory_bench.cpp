// Memory: the application with all its engine processes after start-up, and again after 1,000
// clicks and 100 round trips through the questionnaire.
#include "ProcessTree.h"

#include "content/basGlobal.h"
#include "driving/PageScript.h"
#include "driving/RunningApp.h"
#include "driving/Wait.h"

#include <QApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QTest>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Has the page's script engine collect its garbage, lets everything settle, then reads the
// memory of this process and its engine helpers: what is kept, not what awaits collection.
TreeMemory settledMemory(QWebEngineView* page) {
    evaluateInPage(page, QStringLiteral("gc()"));
    QTest::qWait(2000);
    return memoryOfTree(::getpid());
}

double mib(qint64 kib) {
    return kib / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --js-flags=--expose-gc");
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int roundTrips = argc > 2 ? std::atoi(argv[2]) : 100;

    RunningApp bench;
    const TreeMemory started = settledMemory(bench.pageView());

    const QString items[] = {QStringLiteral("ul li:nth-child(2)"), QStringLiteral("ul li:nth-child(3)"),
                             QStringLiteral("table tr:nth-child(2) > td")};
    QPoint targets[3];
    for (int i = 0; i < 3; ++i)
        targets[i] = bench.firstLineOf(items[i]);
    for (int i = 0; i < clicks; ++i) {
        bench.form().findChild<QLabel*>(QStringLiteral("Label1"))->clear();
        bench.click(targets[i % 3]);
        const QString tag = i % 3 == 2 ? QStringLiteral("TD") : QStringLiteral("LI");
        if (!waitFor([&] { return bench.label("Label1") == tag; })) {
            std::fprintf(stderr, "click %d was not reported\n", i);
            return 1;
        }
    }
    const TreeMemory afterClicks = settledMemory(bench.pageView());

    for (int i = 0; i < roundTrips; ++i) {
        bench.click(QStringLiteral("a"));
        waitFor([] { return basGlobal::PageState == 1; });
        bench.form().findChild<QLabel*>(QStringLiteral("lblClipCaption"))->clear();
        bench.click(QStringLiteral("#SubmitButton"));
        if (!waitFor([&] { return bench.label("lblClipCaption") == QLatin1String("Answers"); })) {
            std::fprintf(stderr, "round trip %d did not come back\n", i);
            return 1;
        }
    }
    const TreeMemory afterRoundTrips = settledMemory(bench.pageView());
    const int handles = bench.inPage(QStringLiteral("window.__lumetto.call('handleCount', []).value")).toInt();

    std::printf("Memory of the application with its engine processes (%d processes), MiB\n", started.processes);
    std::printf("| %-44s | resident %7.1f | proportional %7.1f |\n", "after start-up", mib(started.residentKiB),
                mib(started.proportionalKiB));
    std::printf("| %-44s | resident %7.1f | proportional %7.1f | growth %+.1f%% |\n",
                qPrintable(QStringLiteral("after %1 clicks").arg(clicks)), mib(afterClicks.residentKiB),
                mib(afterClicks.proportionalKiB), 100.0 * (afterClicks.residentKiB - started.residentKiB) / started.residentKiB);
    std::printf("| %-44s | resident %7.1f | proportional %7.1f | growth %+.1f%% |\n",
                qPrintable(QStringLiteral("and %1 questionnaire round trips").arg(roundTrips)),
                mib(afterRoundTrips.residentKiB), mib(afterRoundTrips.proportionalKiB),
                100.0 * (afterRoundTrips.residentKiB - started.residentKiB) / started.residentKiB);
    std::printf("By process, resident MiB after start-up -> after everything:\n");
    for (const ProcessMemory& before : started.each)
        for (const ProcessMemory& after : afterRoundTrips.each)
            if (after.pid == before.pid)
                std::printf("  %-12s %7.1f -> %7.1f\n", qPrintable(before.role), mib(before.residentKiB), mib(after.residentKiB));
    std::printf("Element handles the page still holds for the host: %d\n", handles);
    return 0;
}
