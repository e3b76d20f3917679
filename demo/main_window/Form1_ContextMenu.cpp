// The control's right-click menu: copies through its clipboard entries are mirrored in brClip,
// and choosing a custom entry flips its check mark.
#include "main_window/Form1.h"

#include "forms/EventProcedure.h"

#include <QLabel>

namespace {

using contract::IHTMLDocument2;
using contract::IHTMLElement;
using contract::Variant;

}  // namespace

void Form1::ClipboardCopy(int32_t& copiedAsHtml) {
    forms::runEventProcedure(platform_, [&] { vekBrowser1_ClipboardCopy(copiedAsHtml); });
}

void Form1::MenuItemClick(QString& key, Variant&, int16_t& checkState, Variant&) {
    forms::runEventProcedure(platform_, [&] { vekBrowser1_MenuItemClick(key, checkState); });
}

// Any non-zero kind is an HTML copy: the selection's markup goes into brClip's body. A text
// copy is already on the system clipboard, and its text goes into brClip as markup.
void Form1::vekBrowser1_ClipboardCopy(const int32_t& copiedAsHtml) {
    if (copiedAsHtml != 0) {
        const auto body = brClip->Document().as<IHTMLDocument2>()->body().as<IHTMLElement>();
        body->setInnerHTML(vekBrowser1->GetSelectionHTML().toText());
        lblClipCaption->setText(QStringLiteral("Clipboard Contents (HTML)"));
    } else {
        brClip->setBodyHTML(platform_.clipboardText());
        lblClipCaption->setText(QStringLiteral("Clipboard Contents (Text)"));
    }
}

// Every custom entry the control reports is flipped: the bitwise complement of its check state,
// passed back with the very key the event delivered.
void Form1::vekBrowser1_MenuItemClick(QString& key, const int16_t& checkState) {
    const auto flipped = static_cast<int16_t>(~checkState);
    vekBrowser1->UpdateMenuItem(key, Variant::fromInteger(flipped), Variant::fromBool(true), Variant::fromBool(true));
}
