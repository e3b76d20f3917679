#pragma once

#include <lumetto/HtmlError.h>

#include <QColor>
#include <QHashFunctions>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

QT_FORWARD_DECLARE_CLASS(QObject)

/// \file HtmlElement.h
/// \brief An element of the control's page.

namespace lumetto {

namespace engine {
class PageElement;
}

/// An element of the control's page: a cheap handle, copied by value. The page keeps the
/// element alive while a copy exists, also after the content it came from was replaced (its
/// reads and writes then succeed without visible effect). When the page itself is gone (its
/// process ended and the control loaded it anew, or the control was destroyed) the element is
/// null, and its calls fail with HtmlError::ElementGone.
///
/// Every call that writes the page waits for the page's answer, except setStyleProperty() and
/// setBackgroundColor(), which return at once: their outcome is known, and every later call sees
/// it. Each read has a synchronous form, which waits for the page's answer in a nested event
/// loop, and an asynchronous one of the same name, which returns at once and hands the result to
/// a callback later, as HtmlDocument's reads do.
///
/// An element is used in the GUI thread only, as the view it came from is.
class LUMETTO_CONTROL_EXPORT HtmlElement {
public:
    HtmlElement();  ///< A null element.
    ~HtmlElement();
    HtmlElement(const HtmlElement& other);             ///< Another handle to the same element.
    HtmlElement& operator=(const HtmlElement& other);  ///< Makes this a handle to other's element.
    HtmlElement(HtmlElement&& other) noexcept = default;  ///< Takes other's element; other becomes null.
    HtmlElement& operator=(HtmlElement&& other) noexcept = default;  ///< Takes other's element; other becomes null.
    /// Exchanges the elements of the two handles.
    void swap(HtmlElement& other) noexcept { d.swap(other.d); }

    /// Whether there is no element: a null handle, or one whose page is gone.
    bool isNull() const;
    /// Whether both are handles to the same element (two null elements are equal).
    bool operator==(const HtmlElement& other) const;
    /// Whether they are handles to different elements.
    bool operator!=(const HtmlElement& other) const { return !(*this == other); }

    /// The tag name in upper case ("TD", "A", "BODY"); empty for a null element. Never asks the page.
    QString tagName() const;
    /// The id attribute, empty when there is none.
    QString id(HtmlError* error = nullptr) const;
    /// The attribute of that name, matched without regard to case; "value" is a form field's
    /// current value. A null QString when the element has no such attribute.
    QString attribute(const QString& name, HtmlError* error = nullptr) const;
    /// A form field's current value, as the user left it: attribute("value").
    QString value(HtmlError* error = nullptr) const { return attribute(QStringLiteral("value"), error); }
    /// A property of the element's document object, looked up by name ("href", "checked"),
    /// as a bool, a number or a QString; an invalid QVariant for a property that is null.
    /// Fails with HtmlError::NoSuchProperty, whose description names the property and the
    /// element, when the element has none of that name.
    QVariant property(const QString& name, HtmlError* error = nullptr) const;
    /// The element's content as HTML.
    QString innerHtml(HtmlError* error = nullptr) const { return property(QStringLiteral("innerHTML"), error).toString(); }
    /// Replaces the element's content; the content's scripts never run, its links never
    /// navigate. What is written into the shown content comes back after a page-process loss.
    void setInnerHtml(const QString& html, HtmlError* error = nullptr);
    /// The value of a property of the element's inline style ("background-color") as the page
    /// states it ("rgb(241, 241, 241)", "yellow"); empty when the inline style does not set it.
    QString styleProperty(const QString& name, HtmlError* error = nullptr) const;
    /// Sets a property of the element's inline style; an empty value removes it. Returns at once.
    void setStyleProperty(const QString& name, const QString& value, HtmlError* error = nullptr);
    /// The inline background colour; an invalid QColor when the inline style sets none.
    QColor backgroundColor(HtmlError* error = nullptr) const;
    /// Sets the inline background colour; an invalid QColor removes it. Returns at once.
    void setBackgroundColor(const QColor& colour, HtmlError* error = nullptr);

    /// \name Asynchronous reads
    /// The reads above, handing their result to done from the event loop, as HtmlDocument's do.
    ///@{
    /// The asynchronous form of id(): returns at once, done gets the result later.
    void id(const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of attribute(): returns at once, done gets the result later.
    void attribute(const QString& name, const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of value(): returns at once, done gets the result later.
    void value(const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const {
        attribute(QStringLiteral("value"), context, std::move(done));
    }
    /// The asynchronous form of property(): returns at once, done gets the result later.
    void property(const QString& name, const QObject* context, std::function<void(const QVariant&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of innerHtml(): returns at once, done gets the result later.
    void innerHtml(const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of styleProperty(): returns at once, done gets the result later.
    void styleProperty(const QString& name, const QObject* context, std::function<void(const QString&, const lumetto::HtmlError&)> done) const;
    /// The asynchronous form of backgroundColor(): returns at once, done gets the result later.
    void backgroundColor(const QObject* context, std::function<void(const QColor&, const lumetto::HtmlError&)> done) const;
    ///@}

protected:
    /// A handle to an element of the library's engine, which makes the elements.
    explicit HtmlElement(std::shared_ptr<engine::PageElement> element);
    std::shared_ptr<engine::PageElement> d;  ///< The element, shared by its handles; null for none.
};

/// A hash of the element's identity, so that elements can be keys of QHash and QSet.
LUMETTO_CONTROL_EXPORT size_t qHash(const HtmlElement& element, size_t seed = 0) noexcept;

}  // namespace lumetto

Q_DECLARE_SHARED(lumetto::HtmlElement)
Q_DECLARE_METATYPE(lumetto::HtmlElement)
