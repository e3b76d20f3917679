#pragma once

#include "contract/DocumentObjects.h"

#include <lumetto/HtmlDocument.h>
#include <lumetto/HtmlElement.h>

#include <QHash>
#include <QList>

namespace contract {

// The document objects of the contract on the control's library: each holds the library's
// handle and turns its failures into the run-time errors the contract's members fail with.

class ElementAdapter;

// The elements a control has handed out: the same element gives the same object for as long
// as the host holds it.
class ElementAdapters : public std::enable_shared_from_this<ElementAdapters> {
public:
    // The element as the contract's object; Nothing for a null element.
    Variant of(const lumetto::HtmlElement& element);
    void forget(const lumetto::HtmlElement& element) { live_.remove(element); }

private:
    QHash<lumetto::HtmlElement, std::weak_ptr<ElementAdapter>> live_;
};

// An element. One whose page was loaded anew since (its page process ended) is gone: its calls
// fail with "Object variable not set", while its style still takes reads and writes, without
// effect, like that of replaced content.
class ElementAdapter : public IHTMLElement, public std::enable_shared_from_this<ElementAdapter> {
public:
    ElementAdapter(lumetto::HtmlElement element, std::shared_ptr<ElementAdapters> adapters)
        : element_(std::move(element)), adapters_(adapters) {}
    ~ElementAdapter() override;

    QString tagName() override { return element_.tagName(); }
    QString id() override;
    std::shared_ptr<IHTMLStyle> style() override;
    void setInnerHTML(const QString& html) override;
    Variant getAttribute(const QString& name) override;
    Variant readMember(const QString& name) override;

    lumetto::HtmlElement& element() { return element_; }

private:
    // Fails unless the element's page is still the one shown.
    void checkHere() const;

    lumetto::HtmlElement element_;
    std::weak_ptr<ElementAdapters> adapters_;
};

class StyleAdapter : public IHTMLStyle {
public:
    explicit StyleAdapter(std::shared_ptr<ElementAdapter> element) : element_(std::move(element)) {}
    Variant backgroundColor() override;
    void setBackgroundColor(const Variant& colour) override;

private:
    std::shared_ptr<ElementAdapter> element_;  // keeps the element's handle alive
};

class DocumentAdapter : public IHTMLDocument2 {
public:
    DocumentAdapter(lumetto::HtmlDocument document, std::shared_ptr<ElementAdapters> adapters)
        : document_(std::move(document)), adapters_(std::move(adapters)) {}
    Variant all() override;
    Variant body() override;
    Variant selection() override;

private:
    lumetto::HtmlDocument document_;
    std::shared_ptr<ElementAdapters> adapters_;
};

class CollectionAdapter : public IHTMLElementCollection {
public:
    CollectionAdapter(QList<lumetto::HtmlElement> elements, std::shared_ptr<ElementAdapters> adapters)
        : elements_(std::move(elements)), adapters_(std::move(adapters)) {}
    int32_t length() override { return static_cast<int32_t>(elements_.size()); }
    Variant item(int32_t index) override;

private:
    QList<lumetto::HtmlElement> elements_;
    std::shared_ptr<ElementAdapters> adapters_;
};

// What the user selected: a text range over selected text; a selection of controls alone (an
// image, a form field) gives a control range, which is no text range.
class SelectionAdapter : public IHTMLSelectionObject {
public:
    explicit SelectionAdapter(lumetto::HtmlDocument document) : document_(std::move(document)) {}
    Variant createRange() override;

private:
    lumetto::HtmlDocument document_;
};

// The selected text when the range was created.
class TextRange : public IHTMLTxtRange {
public:
    explicit TextRange(QString text) : text_(std::move(text)) {}
    QString text() override { return text_; }

private:
    QString text_;
};

class ControlRange : public HostObject {};

}  // namespace contract
