#include "app/CommandLine.h"
#include "app/ReportedControls.h"
#include "forms/QtPlatform.h"
#include "main_window/Form1.h"

#include <QApplication>
#include <QLoggingCategory>

#include <cstdio>

// The process entry: answers --help and --version, else creates Form1 with its design
// settings, runs its Form_Load, then shows it. A command line it does not know ends the
// process with status 2 before any window opens; a Form_Load that fails has been reported to
// the user, and the process ends with status 1, as it does when a display control fails where
// no call can fail (ReportedControls).
int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("lumetto-demo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMETTO_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const commandline::Request request = commandline::request(arguments);
    if (request != commandline::Request::Run) {
        QCoreApplication answering(argc, argv);
        commandline::answer(request);
        return 0;
    }

    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // Wayland compositors find the menu entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("lumetto-demo"));
    // Form1's menus belong to its designed window, above the page: they stay in it on desktops
    // with a global menu bar as well, and the window does not ask the desktop for one as it
    // starts, which cost about 8 ms of the start.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    const QString problem = commandline::checkRemaining(QCoreApplication::arguments());
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "lumetto-demo: %s\nTry 'lumetto-demo --help' for more information.\n", qPrintable(problem));
        return commandline::UsageError;
    }

    forms::QtPlatform platform;
    ReportedControls controls(platform);

    Form1 form(controls, platform);
    if (!form.load())
        return 1;
    form.show();
    return app.exec();
}
