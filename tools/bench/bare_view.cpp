// A bare engine view, measured by the observer against the application. It prints nothing and
// watches nothing.
//   bare_view                        the product page, with a script of the page's own that
//                                    highlights the clicked element: the floor of a click
//   bare_view questionnaire N        a form of N fields whose own script walks it on submit:
//                                    the floor of the answers
//   bare_view window W H X Y [MX MY MW MH]
//                                    the product page as above, at X,Y in a window of W by H,
//                                    with a second, empty view at MX,MY (MW by MH) when given:
//                                    what Form1's window, with one view or two, costs the engine
//   bare_view write CHARACTERS       the product page, whose "forms" link shows the write
//                                    benchmark's body of that size: the floor of a large write
#include "BareWrite.h"
#include "Questionnaire.h"
#include "WrittenBody.h"

#include "content/basGlobal.h"
#include "driving/BareView.h"

#include <QApplication>
#include <QWebEngineView>

#include <cstdlib>
#include <cstring>

namespace {

const QString Highlighting = QStringLiteral(
    "let last = null; document.addEventListener('click', (event) => {"
    " if (last) last.style.backgroundColor = ''; last = event.target; last.style.backgroundColor = '#f1f1f1'; });");

int number(char** argv, int i) {
    return std::atoi(argv[i]);
}

}  // namespace

int main(int argc, char** argv) {
    const bool writes = argc == 3 && std::strcmp(argv[1], "write") == 0;
    if (writes)
        registerWrittenScheme();
    QApplication app(argc, argv);
    basGlobal::BuildPages();
    if (writes) {
        auto view = makeBareView(basGlobal::ProductPageHTML);
        writeOnLinkClick(*view, bareDocument(writtenBody(std::atoll(argv[2]))));
        view->show();
        return app.exec();
    }
    if (argc == 3 && std::strcmp(argv[1], "questionnaire") == 0) {
        auto view = makeBareView(bareQuestionnaire(number(argv, 2)), bareAnswersScript());
        view->show();
        return app.exec();
    }
    if ((argc == 6 || argc == 10) && std::strcmp(argv[1], "window") == 0) {
        QWidget window;
        window.setWindowTitle(QStringLiteral("bare window"));
        window.resize(number(argv, 2), number(argv, 3));
        QWebEngineView* page = makeBareView(basGlobal::ProductPageHTML, Highlighting).release();
        page->setParent(&window);  // which owns it from here
        page->move(number(argv, 4), number(argv, 5));
        if (argc == 10) {
            QWebEngineView* second = makeBareView(QString()).release();
            second->setParent(&window);
            second->setGeometry(number(argv, 6), number(argv, 7), number(argv, 8), number(argv, 9));
        }
        window.show();
        return app.exec();
    }
    auto view = makeBareView(basGlobal::ProductPageHTML, Highlighting);
    view->show();
    return app.exec();
}
