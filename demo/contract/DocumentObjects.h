#pragma once

#include "contract/Variant.h"

#include <QString>

#include <cstdint>
#include <memory>

/// The document object model that the display control exposes. Every call is synchronous
/// and fails with a RuntimeError. Objects are reference-counted: a document, a collection or
/// a style lives as long as somebody holds it, and an element stays usable after the content
/// it came from was replaced (its style then takes reads and writes without visible effect).
namespace contract {

/// The inline style of an element.
class IHTMLStyle : public HostObject {
public:
    /// The inline background colour as text, empty when none is set.
    virtual Variant backgroundColor() = 0;
    /// Sets the inline background colour; empty text removes it.
    virtual void setBackgroundColor(const Variant& colour) = 0;
};

/// An element of the page.
class IHTMLElement : public HostObject {
public:
    virtual QString tagName() = 0;  ///< upper case: "TD", "A", "BODY"
    virtual QString id() = 0;  ///< the id attribute, empty when none
    virtual std::shared_ptr<IHTMLStyle> style() = 0;  ///< the element's inline style
    virtual void setInnerHTML(const QString& html) = 0;  ///< replaces the element's content
    /// Names match without regard to case; "Value" is a form field's current value;
    /// an absent attribute is Null.
    virtual Variant getAttribute(const QString& name) = 0;
    /// A member looked up by name at run time ("href"); fails when the element has none.
    virtual Variant readMember(const QString& name) = 0;
};

/// Elements in document order.
class IHTMLElementCollection : public HostObject {
public:
    virtual int32_t length() = 0;  ///< how many elements
    virtual Variant item(int32_t index) = 0;  ///< an IHTMLElement
};

/// A stretch of the page's text.
class IHTMLTxtRange : public HostObject {
public:
    virtual QString text() = 0;  ///< plain text, without markup
};

/// What the user selected in the page.
class IHTMLSelectionObject : public HostObject {
public:
    virtual Variant createRange() = 0;  ///< an IHTMLTxtRange for a selection of text
};

/// The page's document.
class IHTMLDocument2 : public HostObject {
public:
    virtual Variant all() = 0;        ///< IHTMLElementCollection, every element in document order
    virtual Variant body() = 0;       ///< IHTMLElement
    virtual Variant selection() = 0;  ///< IHTMLSelectionObject
};

}  // namespace contract
