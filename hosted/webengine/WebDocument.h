#pragma once

#include "hosted/DocumentObjects.h"

#include <QVariantList>

#include <memory>
#include <vector>

namespace lumetto {

class ElementHandles;
class WebElement;

// The document a control shows. It always stands for what the control shows at the moment
// of each call, so it stays valid when the content is replaced.
class WebDocument : public hosted::IHTMLDocument2 {
public:
    explicit WebDocument(std::shared_ptr<ElementHandles> handles);

    hosted::Variant all() override;
    hosted::Variant body() override;
    hosted::Variant selection() override;

private:
    std::shared_ptr<ElementHandles> handles_;
};

// Every element of a document, in document order, as it was when the collection was read.
class WebElementCollection : public hosted::IHTMLElementCollection {
public:
    explicit WebElementCollection(std::vector<std::shared_ptr<WebElement>> elements);

    int32_t length() override;
    hosted::Variant item(int32_t index) override;

private:
    std::vector<std::shared_ptr<WebElement>> elements_;
};

// The document's selection, as it is at each call.
class WebSelection : public hosted::IHTMLSelectionObject {
public:
    explicit WebSelection(std::shared_ptr<ElementHandles> handles);

    // A text range over the selected text; a selection of controls alone (an image, a form
    // field) gives a control range, which is no text range.
    hosted::Variant createRange() override;

private:
    std::shared_ptr<ElementHandles> handles_;  // keeps the control's calls alive
};

// The selected text when the range was created.
class WebTextRange : public hosted::IHTMLTxtRange {
public:
    explicit WebTextRange(QString text) : text_(std::move(text)) {}
    QString text() override { return text_; }

private:
    QString text_;
};

// The selected controls when the range was created.
class WebControlRange : public hosted::HostObject {};

}  // namespace lumetto
