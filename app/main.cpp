#include "forms/QtPlatform.h"
#include "main_window/Form1.h"

#include <lumetto/BrowserWidget.h>

#include <QApplication>
#include <QLoggingCategory>

// The process entry: creates Form1 with its design settings, runs its Form_Load, then shows it.
// A Form_Load that fails has been reported to the user, and the process ends with status 1.
int main(int argc, char* argv[]) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    forms::QtPlatform platform;
    lumetto::BrowserWidgetFactory controls;

    Form1 form(controls, platform);
    if (!form.load())
        return 1;
    form.show();
    return app.exec();
}
