#pragma once

#include <lumetto/Global.h>
#include <lumetto/vekBrowser.h>

#include <QWidget>

#include <memory>

/// \file BrowserWidget.h
/// \brief The HTML display control as a Qt widget.

namespace lumetto {

/// The HTML display control as a Qt widget: it shows the HTML it is given, with its style
/// rules and base location, and reports the user's clicks. Its content never runs script,
/// never navigates and loads nothing but files below its base location.
///
/// One object, two faces. As a Qt widget it has a property for each design-time setting
/// (editable in Qt Designer and set from `.ui` files) and a signal for each event. As a
/// lumetto::vekBrowser it offers the members and events of the control's contract, whose
/// failures are lumetto::RuntimeError exceptions.
///
/// A property setter never throws: when the page refuses a change (its process died or does
/// not answer), the setter leaves the property as it was and writes a warning to Qt's log.
/// A call returns once the page shows the change, with two exceptions. An element's inline
/// style (lumetto::IHTMLStyle) is written without waiting for the page: its outcome is known,
/// and every later call sees it. Until the control is first shown and while its page loads, a
/// write is kept and returns at once, and reaches the page as it loads. A failure that no call
/// can fail with then, because the call has returned, comes as the signal failed().
///
/// The first control of a process sets the display engine's environment before the engine
/// starts: it appends `--renderer-process-limit=1` to `QTWEBENGINE_CHROMIUM_FLAGS`, so that
/// the controls of the process share one page process (the flag is always appended, after the
/// host's own flags), and it sets `QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY` to 1, so that screen
/// readers see the page's content, unless the host has set that variable itself. The engine
/// builds a page's accessibility tree only while an assistive technology is active; the engine
/// of Qt 6.4 reads only whether the variable is set, so a host cannot turn that off.
///
/// A screen reader reads the page's document by the control's accessible name (its
/// accessibleName, else the text of the label whose buddy it is), which it follows.
class LUMETTO_CONTROL_EXPORT BrowserWidget : public QWidget, public lumetto::vekBrowser {
    Q_OBJECT
    /// The style rules of the page, or the URL of a style sheet when #cssFromUrl is set.
    Q_PROPERTY(QString cssText READ cssText WRITE setCssText)
    /// Whether #cssText names a style sheet to load rather than holding the rules.
    Q_PROPERTY(bool cssFromUrl READ cssFromUrl WRITE setCssFromUrl)
    /// The location relative names in the content resolve against: a directory or a URL.
    /// Only files below it load.
    Q_PROPERTY(QString baseUrl READ baseUrl WRITE setBaseUrl)
    /// The HTML shown in the page's body.
    Q_PROPERTY(QString bodyHtml READ bodyHtml WRITE setBodyHtml)
    /// Whether the user can select text with the mouse.
    Q_PROPERTY(bool mouseSelectEnabled READ mouseSelectEnabled WRITE setMouseSelectEnabled)
    /// Whether the right-click menu starts with the entries that copy the selection as text
    /// and as HTML.
    Q_PROPERTY(bool clipboardMenuEnabled READ clipboardMenuEnabled WRITE setClipboardMenuEnabled)
    /// Whether the control raises its events; without, clicks and copies still work.
    Q_PROPERTY(bool respondsToEvents READ respondsToEvents WRITE setRespondsToEvents)

public:
    /// A control with the default settings, as Qt Designer and `.ui` files create it.
    explicit BrowserWidget(QWidget* parent = nullptr);
    /// A control with the settings a forms designer stored under their keys ("_extentx",
    /// "_extenty", "csstext", "csshttp", "allowmouseselect", "showrightclickclipboardmenu",
    /// "respondtoevents").
    BrowserWidget(QWidget* parent, const lumetto::DesignSettings& settings);
    ~BrowserWidget() override;

    /// \name Design-time settings
    ///@{
    QString cssText() const;                ///< \copybrief cssText
    void setCssText(const QString& rules);  ///< Sets #cssText.
    bool cssFromUrl() const;                ///< \copybrief cssFromUrl
    void setCssFromUrl(bool fromUrl);       ///< Sets #cssFromUrl.
    QString baseUrl() const;                ///< \copybrief baseUrl
    void setBaseUrl(const QString& base);   ///< Sets #baseUrl.
    QString bodyHtml() const;               ///< \copybrief bodyHtml
    void setBodyHtml(const QString& html);  ///< Sets #bodyHtml.
    bool mouseSelectEnabled() const;        ///< \copybrief mouseSelectEnabled
    void setMouseSelectEnabled(bool enabled);  ///< Sets #mouseSelectEnabled.
    bool clipboardMenuEnabled() const;         ///< \copybrief clipboardMenuEnabled
    void setClipboardMenuEnabled(bool enabled);  ///< Sets #clipboardMenuEnabled.
    bool respondsToEvents() const;               ///< \copybrief respondsToEvents
    void setRespondsToEvents(bool responds);     ///< Sets #respondsToEvents.
    ///@}

    /// \name The contract's members
    /// See lumetto::vekBrowser; they fail with lumetto::RuntimeError.
    ///@{
    QWidget* widget() override;
    void setEventSink(lumetto::vekBrowserEvents* sink) override;
    lumetto::Variant ClickedElement() override;
    lumetto::Variant AllowMouseSelect() override;
    void setAllowMouseSelect(const lumetto::Variant& allow) override;
    lumetto::Variant SourceHTML() override;
    void setBaseURL(const QString& base) override;
    void setCSSText(const QString& rules) override;
    void setCSSFromURL(const lumetto::Variant& fromUrl) override;
    void setBodyHTML(const QString& html) override;
    lumetto::Variant Document() override;
    void AddMenuItem(const QString& key, const QString& caption) override;
    void UpdateMenuItem(QString& key, const lumetto::Variant& checkState, const lumetto::Variant& enabled,
                        const lumetto::Variant& visible) override;
    lumetto::Variant GetSelectionHTML() override;
    ///@}

    /// The size of the control's design extent; a layout may make it larger or smaller.
    QSize sizeHint() const override;

signals:
    /// The user clicked in the page with the left button; ClickedElement() is the element.
    void leftClicked();
    /// The user clicked in the page with the right button; ClickedElement() is the element.
    /// The control's menu opens after this signal, when it has entries.
    void rightClicked();
    /// The user chose one of the entries added with AddMenuItem() from the right-click menu.
    void menuItemClicked(const QString& key, bool checked);
    /// A clipboard entry of the right-click menu was chosen: the host should take off any
    /// highlight of its own now, before the selection is copied.
    void restoreHighlightRequested();
    /// The selection is on the system clipboard, as HTML when asHtml is true, else as text.
    void clipboardCopied(bool asHtml);
    /// The page process ended again while the content restored after its loss was being
    /// drawn, with this control restoring alone: the content itself ends it, so the control
    /// does not show it again. It comes back with its settings and style rules and an empty
    /// body (bodyHtml() is empty); what the host writes next is shown as usual. The other
    /// controls of the process keep their content.
    void contentDiscarded();
    /// The control failed where no call can fail: code and description are those of the
    /// lumetto::RuntimeError a call fails with. Either its display engine cannot start (its
    /// helper process is missing, broken or not allowed to run): from then on every call fails
    /// at once with this error, one that waits for the page as well. Or a write that reached
    /// the page after its call had returned failed there: one kept while the page loaded, or
    /// one the control carries again to a page it loaded anew after its page process ended.
    /// Comes from the event loop, after the engine or the page told of the failure.
    void failed(int code, const QString& description);

private:
    class Private;
    std::unique_ptr<Private> d;
};

/// Creates the display controls of a window that is built from the contract (lumetto::vekBrowserFactory):
/// each one a BrowserWidget.
class LUMETTO_CONTROL_EXPORT BrowserWidgetFactory : public lumetto::vekBrowserFactory {
public:
    /// A BrowserWidget, child of parent, with the designer's settings.
    std::unique_ptr<lumetto::vekBrowser> create(QWidget* parent, const lumetto::DesignSettings& settings) override;
};

}  // namespace lumetto
