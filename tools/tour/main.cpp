// The guided tour: starts the real application window and drives every feature with real
// input, saving a screenshot after each step into the folder given (by default "tour").
// Exits with status 1 when a step does not reach its expected screen.
#include "Tour.h"

#include <QApplication>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char** argv) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tour");
    QDir screenshots;
    if (!screenshots.mkpath(folder)) {
        std::fprintf(stderr, "cannot make the folder %s\n", qPrintable(folder));
        return 1;
    }
    Tour tour{QDir(folder)};
    return tour.run() ? 0 : 1;
}
