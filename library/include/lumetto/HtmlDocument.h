#pragma once

#include <lumetto/HtmlElement.h>

#include <QList>
#include <QString>

#include <functional>
#include <memory>

QT_FORWARD_DECLARE_CLASS(QObject)

/// \file HtmlDocument.h
/// \brief The document an HtmlView shows.

namespace lumetto {

namespace engine {
class ElementHandles;
}

/// The document an HtmlView shows, as it is at each call: a cheap handle, copied by value.
/// A document whose control was destroyed fails every call with HtmlError::PageFailed.
///
/// Each read has two forms. The synchronous one waits for the page's answer in a nested event
/// loop (see HtmlView, "When calls return"). The asynchronous one, of the same name, returns at
/// once and hands the result to done later, from the event loop, with no error; or a null or
/// empty result with the failure. done never runs inside the call that asks, nor once context
/// is destroyed (nor when context is null); otherwise it runs exactly once: a page that fails,
/// whose process ends, or whose view is destroyed before it answers fails the read. done may
/// call the view, write to it or delete it.
///
/// \code
/// view->document().source(this, [this](const QString& source, const lumetto::HtmlError& error) {
///     if (error.isValid()) statusBar()->showMessage(error.description());
///     else editor->setPlainText(source);
/// });
/// \endcode
///
/// A document is used in the GUI thread only, as its view is.
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

    /// \name Asynchronous reads
    /// The reads above, handing their result to done from the event loop.
    ///@{
    /// The asynchronous form of body(): returns at once, done gets the result later.
    void body(const QObject* context, std::function<void(const lumetto::HtmlElement&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of elements(): returns at once, done gets the result later.
    void elements(const QObject* context, std::function<void(const QList<lumetto::HtmlElement>&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of selectedText(): returns at once, done gets the result later.
    void selectedText(const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of hasSelectedControls(): returns at once, done gets the result later.
    void hasSelectedControls(const QObject* context, std::function<void(bool, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of selectedHtml(): returns at once, done gets the result later.
    void selectedHtml(const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of source(): returns at once, done gets the result later.
    void source(const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const;
    ///@}

protected:
    /// The document of a view's element handles in the library's engine, which makes documents.
    explicit HtmlDocument(std::shared_ptr<engine::ElementHandles> handles);
    std::shared_ptr<engine::ElementHandles> d;  ///< The view's element handles, null for none.
};

}  // namespace lumetto

Q_DECLARE_SHARED(lumetto::HtmlDocument)
