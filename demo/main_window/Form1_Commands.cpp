// The style, selection and text commands of the menus and buttons, and the source viewer.
#include "main_window/Form1.h"

#include <QAction>
#include <QPlainTextEdit>

using contract::Variant;

void Form1::mnuCSSGreen_Click() {
    vekBrowser1->setCSSFromURL(Variant::fromBool(false));
    vekBrowser1->setCSSText(QStringLiteral("BODY { background-color : green; font-family: Arial;}"));
}

void Form1::mnuCSSWhite_Click() {
    vekBrowser1->setCSSFromURL(Variant::fromBool(false));
    vekBrowser1->setCSSText(QStringLiteral("BODY { background-color : white; font-family: Verdana;}"));
}

// The check mark shows what the control reports after the change, so a control that kept
// its old value keeps the old mark.
void Form1::mnuOptSelect_Click() {
    const bool allowed = vekBrowser1->AllowMouseSelect().toBool();
    vekBrowser1->setAllowMouseSelect(Variant::fromBool(!allowed));
    mnuOptSelect->setChecked(vekBrowser1->AllowMouseSelect().toBool());
}

// Shows the plain text selected in the page. A selection of controls (an image, a field)
// is no text range and fails.
void Form1::Command1_Click() {
    const QString text = vekBrowser1->Document()
                             .as<contract::IHTMLDocument2>()
                             ->selection()
                             .as<contract::IHTMLSelectionObject>()
                             ->createRange()
                             .as<contract::IHTMLTxtRange>()
                             ->text();
    platform_.messageBox(text);
}

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
