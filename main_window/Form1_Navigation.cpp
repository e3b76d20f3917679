// Page navigation: the product page's "forms" link shows the questionnaire; its submit button
// collects the answers into brClip and brings the product page back.
#include "main_window/Form1.h"

#include "content/basGlobal.h"

#include <QLabel>

namespace {

using hosted::IHTMLDocument2;
using hosted::IHTMLElement;
using hosted::IHTMLElementCollection;
using hosted::Variant;

}  // namespace

// Runs inside the left click, after the clicked element became LastElement.
void Form1::pageStateStep() {
    if (basGlobal::PageState == 0) {
        if (LastElement->tagName() == QLatin1String("A")) {
            // The target as written ("Forms") or resolved to a full location ends the same way.
            const Variant ending = hosted::rightText(LastElement->readMember(QStringLiteral("href")), 5);
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
        hosted::appendText(name, field->getAttribute(QStringLiteral("Name")));
        if (!name.contains(QLatin1String("Question")))
            continue;
        hosted::appendText(answers, field->getAttribute(QStringLiteral("Name")));
        answers += QLatin1String(" : ");
        hosted::appendText(answers, field->getAttribute(QStringLiteral("Value")));
        answers += QLatin1String("<BR>");
    }
    lblClipCaption->setText(QStringLiteral("Answers"));
    brClip->setBodyHTML(QStringLiteral("Thankyou for filling in the form<BR><BR>") + answers);
}
