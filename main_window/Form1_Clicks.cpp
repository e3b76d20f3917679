// Click tracking: every click in vekBrowser1 is reported in the labels, and the clicked
// element is highlighted until the next click or RestoreHighlight gives it its colour back.
#include "main_window/Form1.h"

#include "forms/EventProcedure.h"

#include <QLabel>

namespace {

using hosted::IHTMLElement;
using hosted::Variant;

const QString HighlightColour = QStringLiteral("#f1f1f1");

}  // namespace

void Form1::LeftClick() {
    forms::runEventProcedure(platform_, [this] { vekBrowser1_LeftClick(); });
}

void Form1::RightClick() {
    forms::runEventProcedure(platform_, [this] { vekBrowser1_RightClick(); });
}

void Form1::RestoreHighlight() {
    forms::runEventProcedure(platform_, [this] { vekBrowser1_RestoreHighlight(); });
}

void Form1::vekBrowser1_LeftClick() {
    restoreLastElement();
    trackClickedElement();
    pageStateStep();
    Label2->setText(QStringLiteral("Last Click - LeftClick : "));
}

void Form1::vekBrowser1_RightClick() {
    restoreLastElement();
    trackClickedElement();
    highlightClickedElement();
    Label2->setText(QStringLiteral("Last Click - RightClick : "));
}

void Form1::vekBrowser1_RestoreHighlight() {
    restoreLastElement();
}

// Gives the element of the previous click its saved colour back; empty removes the inline colour.
void Form1::restoreLastElement() {
    if (!LastElement)
        return;
    LastElement->style()->setBackgroundColor(Variant::fromString(LastElementColor));
}

// The control's clicked element is read afresh at each step, never kept between them.
void Form1::trackClickedElement() {
    Label1->setText(vekBrowser1->ClickedElement().as<IHTMLElement>()->tagName());
    LastElement = vekBrowser1->ClickedElement().as<IHTMLElement>();
    LastElementColor = vekBrowser1->ClickedElement().as<IHTMLElement>()->style()->backgroundColor().toText();
}

// The body is never highlighted.
void Form1::highlightClickedElement() {
    if (LastElement->tagName() == QLatin1String("BODY"))
        return;
    vekBrowser1->ClickedElement().as<IHTMLElement>()->style()->setBackgroundColor(Variant::fromString(HighlightColour));
}
