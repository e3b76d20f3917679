#pragma once

#include <lumetto/DocumentObjects.h>

#include <QVariantList>

#include <memory>
#include <vector>

namespace lumetto {

class ElementHandles;
class WebElement;

// The document a control shows. It always stands for what the control shows at the moment
// of each call, so it stays valid when the content is replaced.
class WebDocument : public lumetto::IHTMLDocument2 {
public:
    explicit WebDocument(std::shared_ptr<ElementHandles> handles);

    lumetto::Variant all() override;
    lumetto::Variant body() override;
    lumetto::Variant selection() override;

private:
    std::shared_ptr<ElementHandles> handles_;
};

// Every element of a document, in document order, as it was when the collection was read.
class WebElementCollection : public lumetto::IHTMLElementCollection {
public:
    explicit WebElementCollection(std::vector<std::shared_ptr<WebElement>> elements);

    int32_t length() override;
    lumetto::Variant item(int32_t index) override;

private:
    std::vector<std::shared_ptr<WebElement>> elements_;
};

// The document's selection, as it is at each call.
class WebSelection : public lumetto::IHTMLSelectionObject {
public:
    explicit WebSelection(std::shared_ptr<ElementHandles> handles);

    // A text range over the selected text; a selection of controls alone (an image, a form
    // field) gives a control range, which is no text range.
    lumetto::Variant createRange() override;

private:
    std::shared_ptr<ElementHandles> handles_;  // keeps the control's calls alive
};

// The selected text when the range was created.
class WebTextRange : public lumetto::IHTMLTxtRange {
public:
    explicit WebTextRange(QString text) : text_(std::move(text)) {}
    QString text() override { return text_; }

private:
    QString text_;
};

// The selected controls when the range was created.
class WebControlRange : public lumetto::HostObject {};

}  // namespace lumetto
