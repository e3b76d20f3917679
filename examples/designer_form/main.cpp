// A window made in Qt Designer (Window.ui): the page's content and style are set in the form,
// the program only reacts to the clicks.
#include "ui_Window.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    Ui::Window ui;
    ui.setupUi(&window);

    QObject::connect(ui.page, &lumetto::HtmlView::clicked, [&](const lumetto::HtmlElement& cell) {
        lumetto::HtmlError error;
        const QString id = cell.id(&error);
        const QString report = error.isValid() ? "Failed: " + error.description()
                               : id.isEmpty()  ? QString("Clicked outside the colours")
                                               : "Picked " + id;
        ui.status->setText(report);
        QTextStream(stdout) << report << Qt::endl;
    });

    window.show();
    return app.exec();
}
