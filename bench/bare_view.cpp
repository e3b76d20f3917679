// A bare engine view, measured by the observer against the application: "product" shows the
// product page with a script of the page's own that highlights the clicked element (the floor
// of a click's highlight); "questionnaire N" shows a form of N fields whose own script walks
// it on submit (the floor of the answers). It prints nothing and watches nothing.
#include "Questionnaire.h"

#include "content/basGlobal.h"
#include "driving/BareView.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QWebEngineView>

#include <cstring>

namespace {

const QString Highlighting = QStringLiteral(
    "let last = null; document.addEventListener('click', (event) => {"
    " if (last) last.style.backgroundColor = ''; last = event.target; last.style.backgroundColor = '#f1f1f1'; });");

}  // namespace

int main(int argc, char** argv) {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    std::unique_ptr<QWebEngineView> view;
    if (argc == 3 && std::strcmp(argv[1], "questionnaire") == 0) {
        const int fields = std::atoi(argv[2]);
        view = makeBareView(bareQuestionnaire(fields), bareAnswersScript());
    } else {
        basGlobal::BuildPages();
        view = makeBareView(basGlobal::ProductPageHTML, Highlighting);
    }
    view->show();
    return app.exec();
}
