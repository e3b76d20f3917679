#pragma once

#include "contract/Variant.h"

#include <QList>
#include <QPair>
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace contract {

/// The host's side of the display control's events; an event the host has no procedure for
/// does nothing. Arguments passed by reference are the control's own: a handler reads them
/// and never writes them back.
class vekBrowserEvents {
public:
    virtual ~vekBrowserEvents() = default;
    /// The user clicked in the page with the left button; vekBrowser::ClickedElement() is the element.
    virtual void LeftClick() {}
    /// The user clicked in the page with the right button; vekBrowser::ClickedElement() is the
    /// element. The control's menu opens after this event, when it has entries.
    virtual void RightClick() {}
    /// The user chose the entry with that key from the right-click menu; checkState is its
    /// check mark, -1 (checked) or 0. The reserved arguments are empty.
    virtual void MenuItemClick(QString& /*key*/, Variant& /*reserved1*/, int16_t& /*checkState*/,
                               Variant& /*reserved2*/) {}
    /// The selection is on the system clipboard: as HTML when copiedAsHtml is 1, as text when 0.
    virtual void ClipboardCopy(int32_t& /*copiedAsHtml*/) {}
    /// A clipboard entry of the menu was chosen: take off any highlight of the host's own now,
    /// before the selection is copied.
    virtual void RestoreHighlight() {}
};

/// The HTML display control. Every member is synchronous for the caller and fails with a
/// RuntimeError; the control accepts calls from inside its own events.
class vekBrowser {
public:
    virtual ~vekBrowser() = default;  ///< Destroys the control and its window.

    /// The control's window, placed by its host.
    virtual QWidget* widget() = 0;
    /// Where the control raises its events; none are raised without a sink.
    virtual void setEventSink(vekBrowserEvents* sink) = 0;

    virtual Variant ClickedElement() = 0;  ///< IHTMLElement under the last click
    /// Whether the user can select text with the mouse, a Boolean.
    virtual Variant AllowMouseSelect() = 0;
    /// Lets the user select text with the mouse, or not.
    virtual void setAllowMouseSelect(const Variant& allow) = 0;
    /// The page's whole HTML source, head and body.
    virtual Variant SourceHTML() = 0;
    /// The location relative names resolve against: a local directory ("/opt/app/") or a URL.
    /// Nothing outside it loads.
    virtual void setBaseURL(const QString& base) = 0;
    /// The style rules of the page, or the URL of a style sheet when CSSFromURL is True.
    virtual void setCSSText(const QString& rules) = 0;
    /// Whether the style rules name a style sheet to load rather than holding the rules.
    virtual void setCSSFromURL(const Variant& fromUrl) = 0;
    /// Replaces the body's content. Its scripts never run, its links never navigate.
    virtual void setBodyHTML(const QString& html) = 0;
    virtual Variant Document() = 0;  ///< IHTMLDocument2
    /// Adds an entry to the right-click menu, after the entries before it; caption "-" is a
    /// separator.
    virtual void AddMenuItem(const QString& key, const QString& caption) = 0;
    /// Sets the check mark, the enabled and the visible state of the menu entry with that key;
    /// fails with code 5 when no entry has it.
    virtual void UpdateMenuItem(QString& key, const Variant& checkState, const Variant& enabled,
                                const Variant& visible) = 0;
    /// The HTML of what the user selected, empty when nothing is.
    virtual Variant GetSelectionHTML() = 0;
};

/// The settings an instance stores under its keys ("_extentx", "csstext", ...), in the
/// order the designer wrote them.
using DesignSettings = QList<QPair<QString, Variant>>;

/// Creates display controls for a window; the control is owned by the returned pointer and
/// its widget is a child of parent.
class vekBrowserFactory {
public:
    virtual ~vekBrowserFactory() = default;
    /// A control, child of parent, with a designer's settings.
    virtual std::unique_ptr<vekBrowser> create(QWidget* parent, const DesignSettings& settings) = 0;
};

}  // namespace contract
