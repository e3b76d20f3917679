#pragma once

#include <lumetto/Variant.h>

#include <QList>
#include <QPair>
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace hosted {

// The host's side of the display control's events; an event the host has no procedure for
// does nothing. Arguments passed by reference are the control's own: a handler reads them
// and never writes them back.
class LUMETTO_CONTROL_EXPORT vekBrowserEvents {
public:
    virtual ~vekBrowserEvents() = default;
    virtual void LeftClick() {}
    virtual void RightClick() {}
    virtual void MenuItemClick(QString& /*key*/, Variant& /*reserved1*/, int16_t& /*checkState*/,
                               Variant& /*reserved2*/) {}
    virtual void ClipboardCopy(int32_t& /*copiedAsHtml*/) {}
    virtual void RestoreHighlight() {}
};

// The HTML display control. Every member is synchronous for the caller and fails with a
// RuntimeError; the control accepts calls from inside its own events.
class LUMETTO_CONTROL_EXPORT vekBrowser {
public:
    virtual ~vekBrowser() = default;

    // The control's window, placed by its host.
    virtual QWidget* widget() = 0;
    // Where the control raises its events; none are raised without a sink.
    virtual void setEventSink(vekBrowserEvents* sink) = 0;

    virtual Variant ClickedElement() = 0;  // IHTMLElement under the last click
    virtual Variant AllowMouseSelect() = 0;
    virtual void setAllowMouseSelect(const Variant& allow) = 0;
    virtual Variant SourceHTML() = 0;
    virtual void setBaseURL(const QString& base) = 0;
    virtual void setCSSText(const QString& rules) = 0;
    virtual void setCSSFromURL(const Variant& fromUrl) = 0;
    virtual void setBodyHTML(const QString& html) = 0;
    virtual Variant Document() = 0;  // IHTMLDocument2
    virtual void AddMenuItem(const QString& key, const QString& caption) = 0;
    virtual void UpdateMenuItem(QString& key, const Variant& checkState, const Variant& enabled,
                                const Variant& visible) = 0;
    virtual Variant GetSelectionHTML() = 0;
};

// The settings an instance stores under its keys ("_extentx", "csstext", ...), in the
// order the designer wrote them.
using DesignSettings = QList<QPair<QString, Variant>>;

// Creates display controls for a window; the control is owned by the returned pointer and
// its widget is a child of parent.
class LUMETTO_CONTROL_EXPORT vekBrowserFactory {
public:
    virtual ~vekBrowserFactory() = default;
    virtual std::unique_ptr<vekBrowser> create(QWidget* parent, const DesignSettings& settings) = 0;
};

}  // namespace hosted
