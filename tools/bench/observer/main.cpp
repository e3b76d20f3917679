// The benchmarks, observed from outside: this program starts the application and a bare engine
// view showing the same page, sends them real input through the X server and reads the screen
// from the X server, and prints the figures of both with their ratios. The measured programs
// print nothing and watch nothing for it.
//
// Usage: observer [runs] [clicks] [fields]   start-up, clicks and answers
//        observer clicks [clicks]             clicks side by side, then each program alone
//        observer records [moves]             record to record, bound against markup written
//        observer writes [runs]               large body writes
//        observer lists [runs]                every row of a table of up to 1,000,000, against a QTableView
//        observer quick [runs]                start-up and memory of the QML HtmlView, against a bare
//                                             WebEngineView in QML
// LUMETTO_OBSERVED_DEMO names another build of the application to measure, against the same
// baseline: one built from an earlier version, to compare.
#include "Benchmarks.h"

#include "bench/Stats.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto mode = [&](const char* name) { return argc > 1 && std::strcmp(argv[1], name) == 0; };
    const bool writes = mode("writes");
    const bool clicksOnly = mode("clicks");
    const auto number = [&](int i, int otherwise) { return argc > i ? std::atoi(argv[i]) : otherwise; };
    const int runs = number(writes ? 2 : 1, 5);
    const int clicks = number(2, 200);
    const int fields = number(3, 5000);
    XScreen screen;
    if (!screen.usable()) {
        std::fprintf(stderr, "no X display with the XTest extension\n");
        return 1;
    }
    const QString here = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    if (mode("lists"))
        return measureLists(screen, here + QStringLiteral("list_app"), number(2, 3)) ? 0 : 1;
    if (mode("quick"))
        return measureQuick(screen, here + QStringLiteral("quick_page"), here + QStringLiteral("bare_view"), number(2, 5)) ? 0 : 1;
    if (mode("records"))
        return measureRecords(screen, here + QStringLiteral("record_app"), number(2, 100)) ? 0 : 1;
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
    if (clicksOnly) {
        printHeader("application");
        return measureClicks(screen, subjects, clicks) && measureClicksAlone(screen, subjects, clicks) ? 0 : 1;
    }
    const bool measured = measureStartup(screen, subjects, runs) && measureClicks(screen, subjects, clicks) &&
                          measureAnswers(screen, subjects, runs, fields);
    return measured ? 0 : 1;
}
