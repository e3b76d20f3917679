// The benchmarks, observed from outside: this program starts the application and a bare engine
// view showing the same page, sends them real input through the X server and reads the screen
// from the X server, and prints the figures of both with their ratios. The measured programs
// print nothing and watch nothing for it.
//
// Usage: lumetto-observer [runs] [clicks] [fields]
#include "Benchmarks.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    const int clicks = argc > 2 ? std::atoi(argv[2]) : 200;
    const int fields = argc > 3 ? std::atoi(argv[3]) : 5000;
    XScreen screen;
    if (!screen.usable()) {
        std::fprintf(stderr, "no X display with the XTest extension\n");
        return 1;
    }
    const QString here = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    Subjects subjects{here + QStringLiteral("../lumetto-demo"), here + QStringLiteral("bare_view"),
                      here + QStringLiteral("questionnaire_app"), Layout::probe(here + QStringLiteral("layout_probe"))};
    if (subjects.layout.isEmpty())
        return 1;
    const bool measured = measureStartup(screen, subjects, runs) && measureClicks(screen, subjects, clicks) &&
                          measureAnswers(screen, subjects, runs, fields);
    return measured ? 0 : 1;
}
