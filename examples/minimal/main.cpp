// A window with a page: a link that swaps in a form, and a button that reads the form's answers.
#include <lumetto/HtmlView.h>

#include <QApplication>
#include <QLabel>
#include <QTextStream>
#include <QVBoxLayout>

const QString Welcome = "<p><a href='form.html'>Tell us about you</a></p>";
const QString Form = "<p>Name <input name='name' value='Ada'></p>"
                     "<p>City <input name='city' value='London'></p>"
                     "<p><button id='send'>Send</button></p>";
const QString Style = "body { font-family: sans-serif; background: #FFF8DC }"
                      "a { display: block; padding: 1em; background: #DDE6F5 }"
                      "button { padding: 1em 3em; background: #C8E6C9 }";

// "name=value" for each field of the form, read from the page as the user left it.
QString answers(const lumetto::HtmlView& page, lumetto::HtmlError* error) {
    QStringList fields;
    for (const lumetto::HtmlElement& element : page.document().elements(error)) {
        if (element.tagName() == "INPUT")
            fields << element.attribute("name", error) + "=" + element.value(error);
    }
    return fields.join(", ");
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Lumetto minimal example");
    auto* page = new lumetto::HtmlView;
    auto* status = new QLabel("Click in the page.");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(page);
    layout->addWidget(status);

    page->setCssText(Style);
    page->setBodyHtml(Welcome);

    // A property write that fails tells of it by a signal.
    QObject::connect(page, &lumetto::HtmlView::errorOccurred, [](const lumetto::HtmlError& error) {
        QTextStream(stdout) << "Failed: " << error.description() << Qt::endl;
    });

    QObject::connect(page, &lumetto::HtmlView::clicked, [&](const lumetto::HtmlElement& clicked, Qt::MouseButton button) {
        if (button != Qt::LeftButton)
            return;  // the right button opens the view's menu
        lumetto::HtmlError error;
        QString report = "Clicked " + clicked.tagName();
        if (clicked.tagName() == "A")
            page->setBodyHtml(Form);  // links never navigate: the program decides
        else if (clicked.id(&error) == "send")
            report = "Answers: " + answers(*page, &error);
        if (error.isValid())
            report = "Failed: " + error.description();
        status->setText(report);
        QTextStream(stdout) << report << Qt::endl;
    });

    window.resize(480, 320);
    window.show();
    return app.exec();
}
