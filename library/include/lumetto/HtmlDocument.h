#pragma once

#include <lumetto/HtmlElement.h>

#include <QList>
#include <QString>

#include <memory>

/// \file HtmlDocument.h
/// \brief The document an HtmlView shows.

namespace lumetto {

namespace engine {
class ElementHandles;
}

/// The document an HtmlView shows, as it is at each call: a cheap handle, copied by value.
/// Every call waits for the page's answer. A document whose control was destroyed fails every
/// call with HtmlError::PageFailed. A document is used in the GUI thread only, as its view is.
class LUMETTO_CONTROL_EXPORT HtmlDocument {
public:
    HtmlDocument();  ///< A null document, of no control.
    ~HtmlDocument();
    HtmlDocument(const HtmlDocument& other);             ///< Another handle to the same document.
    HtmlDocument& operator=(const HtmlDocument& other);  ///< Makes this a handle to other's document.
    HtmlDocument(HtmlDocument&& other) noexcept = default;  ///< Takes other's document; other becomes null.
    HtmlDocument& operator=(HtmlDocument&& other) noexcept = default;  ///< Takes other's document; other becomes null.
    /// Exchanges the documents of the two handles.
    void swap(HtmlDocument& other) noexcept { d.swap(other.d); }

    /// Whether this is the document of no control.
    bool isNull() const;
    /// The body element.
    HtmlElement body(HtmlError* error = nullptr) const;
    /// Every element of the page, head and body, in document order.
    QList<HtmlElement> elements(HtmlError* error = nullptr) const;
    /// What the user selected, as plain text; empty when nothing is selected, or when the
    /// selection holds only images or form fields (see hasSelectedControls()).
    QString selectedText(HtmlError* error = nullptr) const;
    /// Whether what the user selected holds images or form fields and no text.
    bool hasSelectedControls(HtmlError* error = nullptr) const;
    /// What the user selected, as HTML; empty when nothing is selected.
    QString selectedHtml(HtmlError* error = nullptr) const;
    /// The page's whole HTML source, head and body.
    QString source(HtmlError* error = nullptr) const;

protected:
    /// The document of a view's element handles in the library's engine, which makes documents.
    explicit HtmlDocument(std::shared_ptr<engine::ElementHandles> handles);
    std::shared_ptr<engine::ElementHandles> d;  ///< The view's element handles, null for none.
};

}  // namespace lumetto

Q_DECLARE_SHARED(lumetto::HtmlDocument)
