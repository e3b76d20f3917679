#pragma once

#include <lumetto/EngineEnvironment.h>
#include <lumetto/Global.h>
#include <lumetto/HtmlDocument.h>
#include <lumetto/HtmlElement.h>
#include <lumetto/HtmlError.h>

#include <QUrl>
#include <QWidget>

#include <memory>

/// \file HtmlView.h
/// \brief The HTML display control as a Qt widget.

namespace lumetto {

namespace engine {
class HtmlViewPrivate;
}

/// A widget that displays the HTML it is given, with its style rules and base location, and
/// reports the user's clicks. Its content never runs script, never navigates and loads
/// nothing but files below its base location.
///
/// **When calls return.** Reads of the page (document(), the HtmlDocument and HtmlElement
/// calls) wait for the page's answer, within a bound, taking no user input meanwhile; a page
/// that does not answer fails the call (HtmlError::PageFailed) instead of hanging the program.
/// A property write waits until the page shows the change, with two exceptions that return
/// at once: until the view is first shown, and while its page loads, a write is kept and
/// reaches the page as it loads; and a style write of an element returns at once, since its
/// outcome is known and every later call sees it. The getters return what was last written at
/// once. A write that fails where no call can fail with it, because the call has returned,
/// comes as the signal failed(). A property write that the page refuses leaves the property as
/// it was and emits no change signal.
///
/// **Events.** The signals for the user's clicks and menu choices come from the event loop,
/// one at a time: one that arrives while a slot runs, while a call waits for the page, or while
/// a modal window keeps the user from this view's window is emitted after it. A slot may call
/// the view, open a modal dialog, write new content or delete the view; later events still come.
///
/// **The engine's environment.** The first view of a process calls prepareEngineEnvironment()
/// when the host has not. The engine builds a page's accessibility tree only while an assistive technology is
/// active. A screen reader reads the page by the view's accessible name (its accessibleName,
/// else the text of the label whose buddy it is), which it follows.
///
/// **Threads.** A view, its documents, elements and mappers are used in the GUI thread only, as
/// every widget is.
///
/// **Log.** What the library writes to Qt's log are warnings of the categories `lumetto.view`
/// (failed calls of the view, its documents and elements given no HtmlError), `lumetto.binding`
/// (HtmlDataMapper) and `lumetto.events` (a slot of the view's signals that threw); a host
/// filters them as any, `QT_LOGGING_RULES="lumetto.*=false"`.
class LUMETTO_CONTROL_EXPORT HtmlView : public QWidget {
    Q_OBJECT
    /// The HTML shown in the page's body; after setSource(), the whole text of the file.
    Q_PROPERTY(QString bodyHtml READ bodyHtml WRITE setBodyHtml NOTIFY bodyHtmlChanged)
    /// The style rules of the page, or the URL of a style sheet when #cssFromUrl is set.
    Q_PROPERTY(QString cssText READ cssText WRITE setCssText NOTIFY cssTextChanged)
    /// Whether #cssText names a style sheet to load rather than holding the rules.
    Q_PROPERTY(bool cssFromUrl READ cssFromUrl WRITE setCssFromUrl NOTIFY cssFromUrlChanged)
    /// The location relative names in the content resolve against: a local directory, a folder
    /// of the application's Qt resources (`qrc:/pages/`) or a URL. Only files below a directory
    /// or resource folder load, and nothing from any other location; a local file is judged by
    /// where it really is, so a link below the directory to a file elsewhere loads nothing. A
    /// directory is written with its final slash (`QUrl::fromLocalFile("/opt/app/")`).
    Q_PROPERTY(QUrl baseUrl READ baseUrl WRITE setBaseUrl NOTIFY baseUrlChanged)
    /// The local file or Qt resource whose HTML the view shows (a `file:` or `qrc:` URL); empty
    /// when the HTML was given as text (setBodyHtml()). Declared after #bodyHtml and #baseUrl:
    /// a form of Qt Designer that sets all three writes it last, and shows the file.
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged)
    /// Whether the user can select text with the mouse.
    Q_PROPERTY(bool mouseSelectEnabled READ mouseSelectEnabled WRITE setMouseSelectEnabled NOTIFY mouseSelectEnabledChanged)
    /// Whether the right-click menu starts with the entries that copy the selection as text
    /// and as HTML.
    Q_PROPERTY(bool clipboardMenuEnabled READ clipboardMenuEnabled WRITE setClipboardMenuEnabled NOTIFY clipboardMenuEnabledChanged)
    /// Whether the view emits its event signals (clicks, menu choices, copies); without, clicks
    /// and copies still work.
    Q_PROPERTY(bool respondsToEvents READ respondsToEvents WRITE setRespondsToEvents NOTIFY respondsToEventsChanged)

public:
    /// An empty view, child of parent.
    explicit HtmlView(QWidget* parent = nullptr);
    ~HtmlView() override;

    QString bodyHtml() const;  ///< \copybrief bodyHtml
    /// Replaces the body's content, which the page shows from its top. Its scripts never run, its
    /// links never navigate. Clears #source (emitting sourceChanged()) when the HTML came from a
    /// file.
    void setBodyHtml(const QString& html, HtmlError* error = nullptr);
    QUrl source() const;  ///< \copybrief source
    /// Shows the HTML page of a local file (`QUrl::fromLocalFile("/opt/app/help/index.html")`) or
    /// of a Qt resource (`QUrl("qrc:/help/index.html")` for `:/help/index.html`), under the
    /// view's rules: its scripts never run, its links never navigate, and it loads nothing from
    /// the network.
    ///
    /// The file is read at once. Its text is decoded as a browser decodes a page: by its byte
    /// order mark, else by the charset its `<meta>` names, else as UTF-8 (a `<meta>` that names
    /// UTF-16 or UTF-32, read as ASCII, means UTF-8). #baseUrl becomes the file's folder, so its
    /// relative references resolve there and only files below that folder load (images, style
    /// sheets, fonts); the page takes the file and its folder in one step, so it never shows the
    /// page before with the new folder's files. The page shows the file from its top. What its
    /// head holds goes into the page with its body: its style elements and style sheet links
    /// apply, and so do its body's attributes (colours, style). #bodyHtml becomes the file's whole text and #source becomes url, each signalled
    /// when it changes. The call then returns as a write of #bodyHtml does: once the page shows
    /// the file, or at once before the view is first shown. A page whose process ended comes
    /// back with the file as it was read; setting the same URL again reads it anew.
    ///
    /// A URL of any other scheme (`http:`, `data:`, ...), a file that does not exist, a folder
    /// and a file that cannot be read are refused with HtmlError::SourceUnreadable, whose
    /// description names the URL and why; the view stays as it was. So it does when the page fails
    /// the call (HtmlError::PageFailed), unless the folder needed a new page (another scheme) that
    /// did not load within the bound: the properties then name the file, which that page shows
    /// once it has loaded.
    void setSource(const QUrl& url, HtmlError* error = nullptr);
    QString cssText() const;  ///< \copybrief cssText
    void setCssText(const QString& rules, HtmlError* error = nullptr);  ///< Sets #cssText.
    bool cssFromUrl() const;  ///< \copybrief cssFromUrl
    void setCssFromUrl(bool fromUrl, HtmlError* error = nullptr);  ///< Sets #cssFromUrl.
    QUrl baseUrl() const;  ///< \copybrief baseUrl
    void setBaseUrl(const QUrl& base, HtmlError* error = nullptr);  ///< Sets #baseUrl.
    bool mouseSelectEnabled() const;  ///< \copybrief mouseSelectEnabled
    void setMouseSelectEnabled(bool enabled, HtmlError* error = nullptr);  ///< Sets #mouseSelectEnabled.
    bool clipboardMenuEnabled() const;  ///< \copybrief clipboardMenuEnabled
    void setClipboardMenuEnabled(bool enabled);  ///< Sets #clipboardMenuEnabled; never fails.
    bool respondsToEvents() const;  ///< \copybrief respondsToEvents
    void setRespondsToEvents(bool responds);  ///< Sets #respondsToEvents; never fails.

    /// The document the view shows.
    HtmlDocument document() const;
    /// The element under the last click, null before the first click and once the page that
    /// held it is gone. The click signals carry it as well.
    HtmlElement clickedElement() const;

    /// Adds an entry to the right-click menu after those added before; text "-" is a separator.
    /// A key already added is added again.
    void addMenuItem(const QString& key, const QString& text);
    /// Sets the check mark, the enabled and the visible state of the entry with that key;
    /// false (and HtmlError::NoSuchMenuItem) when no entry has it.
    bool updateMenuItem(const QString& key, bool checked, bool enabled, bool visible, HtmlError* error = nullptr);

    QSize sizeHint() const override;  ///< 320 by 240 pixels; a layout may make it larger or smaller.

signals:
    void bodyHtmlChanged(const QString& html);  ///< #bodyHtml changed.
    void sourceChanged(const QUrl& url);  ///< #source changed; empty once the HTML is no longer a file's.
    void cssTextChanged(const QString& rules);  ///< #cssText changed.
    void cssFromUrlChanged(bool fromUrl);  ///< #cssFromUrl changed.
    void baseUrlChanged(const QUrl& base);  ///< #baseUrl changed.
    void mouseSelectEnabledChanged(bool enabled);  ///< #mouseSelectEnabled changed.
    void clipboardMenuEnabledChanged(bool enabled);  ///< #clipboardMenuEnabled changed.
    void respondsToEventsChanged(bool responds);  ///< #respondsToEvents changed.

    /// The user clicked element with the left button.
    void leftClicked(const lumetto::HtmlElement& element);
    /// The user clicked element with the right button. The view's menu opens after this
    /// signal, when it has entries.
    void rightClicked(const lumetto::HtmlElement& element);
    /// The user chose the entry with that key, added with addMenuItem(); checked is its check mark.
    void menuItemTriggered(const QString& key, bool checked);
    /// A clipboard entry of the right-click menu was chosen: the host should take off any
    /// highlight of its own now, before the selection is copied.
    void restoreHighlightRequested();
    /// The selection is on the system clipboard, as HTML when asHtml is true, else as text.
    void clipboardCopied(bool asHtml);
    /// The page process ended again while the content restored after its loss was being
    /// drawn, with this view restoring alone: the content itself ends it, so the view does not
    /// show it again. It comes back with its settings and style rules and an empty body
    /// (bodyHtml() is empty, and bodyHtmlChanged() is emitted; a #source is cleared, with
    /// sourceChanged()); what the host writes next is shown as usual. The other views of the process keep their content.
    void contentDiscarded();
    /// The view failed where no call can fail. Either its display engine cannot start (its
    /// helper process is missing, broken or not allowed to run): from then on every call fails
    /// at once with this error, one that waits for the page as well. Or a write that reached
    /// the page after its call had returned failed there: one kept while the page loaded, or
    /// one the view carries again to a page it loaded anew after its page process ended;
    /// error.call() names it.
    void failed(const lumetto::HtmlError& error);

private:
    std::unique_ptr<engine::HtmlViewPrivate> d;
};

}  // namespace lumetto
