// Clicks in vekBrowser1: every click is reported in the labels and the clicked element is
// highlighted until the next click or RestoreHighlight gives it its colour back. A left click
// on the product page's "forms" link shows the questionnaire; its submit button collects the
// answers into brClip and brings the product page back.
#include "main_window/Form1.h"

#include "content/basGlobal.h"
#include "forms/EventProcedure.h"

#include <QLabel>

namespace {

using contract::IHTMLDocument2;
using contract::IHTMLElement;
using contract::IHTMLElementCollection;
using contract::Variant;

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

// Read three times on purpose: each read is a call of its own, so one that fails leaves what the steps before it set.
void Form1::trackClickedElement() {
    Label1->setText(vekBrowser1->ClickedElement().as<IHTMLElement>()->tagName());
    LastElement = vekBrowser1->ClickedElement().as<IHTMLElement>();
    LastElementColor = vekBrowser1->ClickedElement().as<IHTMLElement>()->style()->backgroundColor().toText();
}

void Form1::highlightClickedElement() {
    if (LastElement->tagName() == QLatin1String("BODY"))
        return;
    vekBrowser1->ClickedElement().as<IHTMLElement>()->style()->setBackgroundColor(Variant::fromString(HighlightColour));
}

// Runs inside the left click, after the clicked element became LastElement.
void Form1::pageStateStep() {
    if (basGlobal::PageState == 0) {
        if (LastElement->tagName() == QLatin1String("A")) {
            // The target as written ("Forms") or resolved to a full location ends the same way.
            const Variant ending = contract::rightText(LastElement->readMember(QStringLiteral("href")), 5);
            if (!ending.isNull() && ending.toText() == QLatin1String("Forms")) {
                vekBrowser1->setBodyHTML(basGlobal::FormsPageHTML);
                basGlobal::PageState = 1;
            }
        } else {
            highlightClickedElement();
        }
    } else if (basGlobal::PageState == 1) {
        if (LastElement->id() == QLatin1String("SubmitButton")) {
            CollectAnswers();
            vekBrowser1->setBodyHTML(basGlobal::ProductPageHTML);
            basGlobal::PageState = 0;
        }
    }
}

// One line "name : value<BR>" for every element whose name contains "Question", in document order.
void Form1::CollectAnswers() {
    const auto document = vekBrowser1->Document().as<IHTMLDocument2>();
    const auto all = document->all().as<IHTMLElementCollection>();
    QString answers;
    for (int32_t i = 0; i < all->length(); ++i) {
        const auto field = all->item(i).as<IHTMLElement>();
        QString name;
        contract::appendText(name, field->getAttribute(QStringLiteral("Name")));
        if (!name.contains(QLatin1String("Question")))
            continue;
        contract::appendText(answers, field->getAttribute(QStringLiteral("Name")));
        answers += QLatin1String(" : ");
        contract::appendText(answers, field->getAttribute(QStringLiteral("Value")));
        answers += QLatin1String("<BR>");
    }
    lblClipCaption->setText(QStringLiteral("Answers"));
    brClip->setBodyHTML(QStringLiteral("Thankyou for filling in the form<BR><BR>") + answers);
}
