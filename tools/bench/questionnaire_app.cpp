// The application showing a questionnaire of N fields in place of its own, measured by the
// observer: a click on its submit button, to the answers on the screen. Prints nothing and
// watches nothing once the questionnaire is shown.
#include "Questionnaire.h"

#include "content/basGlobal.h"
#include "driving/RunningApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    RunningApp running;
    if (!running.ready())
        return 1;
    running.vekBrowser1().setBodyHTML(questionnaire(argc > 1 ? std::atoi(argv[1]) : 5000));
    basGlobal::PageState = 1;
    return app.exec();
}
