// A window with a page: a link that swaps in a form, and a button that reads the form's answers.
#include <lumetto/BrowserWidget.h>
#include <lumetto/DocumentObjects.h>

#include <QApplication>
#include <QLabel>
#include <QTextStream>
#include <QVBoxLayout>

using namespace lumetto;

const QString Welcome = "<p><a href='form.html'>Tell us about you</a></p>";
const QString Form = "<p>Name <input name='name' value='Ada'></p>"
                     "<p>City <input name='city' value='London'></p>"
                     "<p><button id='send'>Send</button></p>";
const QString Style = "body { font-family: sans-serif; background: #FFF8DC }"
                      "a { display: block; padding: 1em; background: #DDE6F5 }"
                      "button { padding: 1em 3em; background: #C8E6C9 }";

// "name=value" for each field of the form, read from the page as the user left it.
QString answers(lumetto::BrowserWidget& page) {
    auto all = page.Document().as<IHTMLDocument2>()->all().as<IHTMLElementCollection>();
    QStringList fields;
    for (int i = 0; i < all->length(); ++i) {
        auto element = all->item(i).as<IHTMLElement>();
        if (element->tagName() == "INPUT")
            fields << element->getAttribute("name").toText() + "=" + element->getAttribute("Value").toText();
    }
    return fields.join(", ");
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Lumetto minimal example");
    auto* page = new lumetto::BrowserWidget;
    auto* status = new QLabel("Click in the page.");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(page);
    layout->addWidget(status);

    page->setCssText(Style);
    page->setBodyHtml(Welcome);

    QObject::connect(page, &lumetto::BrowserWidget::leftClicked, [&] {
        QString report;
        try {
            auto clicked = page->ClickedElement().as<IHTMLElement>();
            report = "Clicked " + clicked->tagName();
            if (clicked->tagName() == "A")
                page->setBodyHtml(Form);  // links never navigate: the program decides
            else if (clicked->id() == "send")
                report = "Answers: " + answers(*page);
        } catch (const RuntimeError& failure) {
            report = "Failed: " + failure.description();
        }
        status->setText(report);
        QTextStream(stdout) << report << Qt::endl;
    });

    window.resize(480, 320);
    window.show();
    return app.exec();
}
