// The application with a large body in place of its questionnaire, measured by the observer:
// a click on the product page's "forms" link writes it through the page control's bodyHTML.
// A write that fails reports its run-time error in a message box titled with this program's
// name, which the observer looks for. Prints nothing and watches nothing.
//   write_app CHARACTERS
#include "WrittenBody.h"

#include "content/basGlobal.h"
#include "driving/RunningApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    RunningApp running(RunningApp::MessageBoxes::Shown);
    if (!running.ready() || argc != 2)
        return 1;
    basGlobal::FormsPageHTML = writtenBody(std::atoll(argv[1]));
    return app.exec();
}
