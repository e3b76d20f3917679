#include "main_window/Form1.h"

#include <QAction>

using hosted::Variant;

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
                             .as<hosted::IHTMLDocument2>()
                             ->selection()
                             .as<hosted::IHTMLSelectionObject>()
                             ->createRange()
                             .as<hosted::IHTMLTxtRange>()
                             ->text();
    platform_.messageBox(text);
}
