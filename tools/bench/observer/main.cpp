// The benchmarks, observed from outside: this program starts the application and a bare engine
// view showing the same page, sends them real input through the X server and reads the screen
// from the X server, and prints the figures of both with their ratios. The measured programs
// print nothing and watch nothing for it.
//
// Usage: observer [runs] [clicks] [fields]   start-up, clicks and answers
//        observer writes [runs]               large body writes
// LUMETTO_OBSERVED_DEMO names another build of the application to measure, against the same
// baseline: one built from an earlier version, to compare.
#include "Benchmarks.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool writes = argc > 1 && std::strcmp(argv[1], "writes") == 0;
    const int first = writes ? 2 : 1;
    const int runs = argc > first ? std::atoi(argv[first]) : 5;
    const int clicks = argc > 2 ? std::atoi(argv[2]) : 200;
    const int fields = argc > 3 ? std::atoi(argv[3]) : 5000;
    XScreen screen;
    if (!screen.usable()) {
        std::fprintf(stderr, "no X display with the XTest extension\n");
        return 1;
    }
    const QString here = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const Layout layout = Layout::probe(here + QStringLiteral("layout_probe"));
    if (layout.isEmpty())
        return 1;
    const QString bare = here + QStringLiteral("bare_view");
    QStringList oneView{QStringLiteral("window")};
    for (const int n : {layout["window"].width(), layout["window"].height(), layout["page"].x(), layout["page"].y()})
        oneView << QString::number(n);
    QStringList twoViews = oneView;
    for (const int n : {layout["mirror"].x(), layout["mirror"].y(), layout["mirror"].width(), layout["mirror"].height()})
        twoViews << QString::number(n);
    const QString demo = qEnvironmentVariable("LUMETTO_OBSERVED_DEMO", QStringLiteral(LUMETTO_DEMO));
    const Subjects subjects{{demo, {}, "Form1", layout["page"].topLeft()},
                            {bare, {}, "bare view", {}},
                            {bare, twoViews, "bare window", layout["page"].topLeft()},
                            {bare, oneView, "bare window", layout["page"].topLeft()},
                            here + QStringLiteral("questionnaire_app"),
                            here + QStringLiteral("write_app"),
                            layout};
    if (writes)
        return measureWrites(screen, subjects, runs) ? 0 : 1;
    const bool measured = measureStartup(screen, subjects, runs) && measureClicks(screen, subjects, clicks) &&
                          measureAnswers(screen, subjects, runs, fields);
    return measured ? 0 : 1;
}
