#include "main_window/Form1.h"

#include <QPlainTextEdit>

// Shows the source of what vekBrowser1 displays at this moment in Form2, modally. A failure
// before the window is shown leaves Form2 loaded; closing it destroys the window and its text.
void Form1::cmdViewCode_Click() {
    if (!loadedForm2)
        loadedForm2 = std::make_unique<Form2>(this);
    QPlainTextEdit* text = loadedForm2->Text1;
    const QString source = vekBrowser1->SourceHTML().toText();
    text->setPlainText(source);
    platform_.showModal(*loadedForm2);
    loadedForm2.reset();
}
