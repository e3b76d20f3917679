// A window made in Qt Designer (Window.ui): the page's content and style are set in the form,
// the program only reacts to the clicks.
#include "ui_Window.h"

#include <lumetto/DocumentObjects.h>

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    Ui::Window ui;
    ui.setupUi(&window);

    QObject::connect(ui.page, &lumetto::BrowserWidget::leftClicked, [&] {
        QString report;
        try {
            const auto cell = ui.page->ClickedElement().as<lumetto::IHTMLElement>();
            report = cell->id().isEmpty() ? "Clicked outside the colours" : "Picked " + cell->id();
        } catch (const lumetto::RuntimeError& failure) {
            report = "Failed: " + failure.description();
        }
        ui.status->setText(report);
        QTextStream(stdout) << report << Qt::endl;
    });

    window.show();
    return app.exec();
}
