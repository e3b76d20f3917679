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
/// **When calls return.** Each read of the page (the HtmlDocument and HtmlElement calls) has two
/// forms. The asynchronous one returns at once and hands its result to a callback later, from
/// the event loop. The synchronous one waits for the page's answer in a nested event loop,
/// within a bound, taking no user input meanwhile (timers, queued calls and the page's own
/// events go on); a page that does not answer fails the call (HtmlError::PageFailed) instead of
/// hanging the program. A property write waits until the page shows the change, with two
/// exceptions that return at once: until the view is first shown, and while its page loads, a
/// write is kept and reaches the page as it loads; and a style write of an element returns at
/// once, since its outcome is known and every later call sees it. The getters return what was
/// last written at once.
///
/// **Errors.** A property write that fails emits errorOccurred() before it returns, leaves the
/// property as it was and emits no change signal; error() then holds the failure. So does a
/// failure that comes after its call has returned (see errorOccurred()). Without a receiver of
/// errorOccurred(), a failure is written to Qt's log as a warning.
///
/// **Events.** The signals for the user's clicks and copies come from the event loop, one at
/// a time: one that arrives while a slot runs, while a call waits for the page, or while a modal
/// window keeps the user from this view's window is emitted after it. A slot may call the view,
/// open a modal dialog, write new content or delete the view; later events still come. A host
/// that wants none of them for a while blocks the view's signals (QObject::blockSignals()).
///
/// **A click's own frame.** While the slots of clicked() run, the page waits inside the click
/// for them, as it would for a handler of its own: what they write into the page (an element's
/// style, new content) is in the page before the click's event there ends, and shows in the
/// frame that shows the click. Their reads of the clicked element's id, attributes and inline
/// style are answered from the click itself. Anything else that needs the page (another read, a
/// read of a style the slot has just written), and a slot that processes events (a modal dialog,
/// a wait of its own), lets the page go on at once, and the view then works as at any other
/// time. A slot that computes for long keeps the page waiting that long.
///
/// **The right-click menu.** A right click opens the view's own menu (after clicked()): the
/// view's clipboard actions first, action(CopyAsText) and action(CopyAsHtml), then the actions
/// the host added to the view with QWidget::addAction(), in their order. Each shows as the
/// action says (text, icon, check mark, enabled, visible, QAction::isSeparator()), and choosing
/// one triggers it. A host retitles, disables or hides the clipboard actions, or puts them in
/// its own menus and tool bars, where triggering one copies the page's selection as well. The
/// menu opens only when one of its entries other than a separator is visible.
///
/// \code
/// auto* wrap = new QAction(tr("Wrap lines"), view);
/// wrap->setCheckable(true);
/// connect(wrap, &QAction::toggled, this, &Window::setWrapped);
/// view->addAction(wrap);
/// view->action(lumetto::HtmlView::CopyAsHtml)->setVisible(false);  // text copies only
/// \endcode
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
    /// The last failure the view reported with errorOccurred(); no error before the first.
    Q_PROPERTY(lumetto::HtmlError error READ error NOTIFY errorOccurred DESIGNABLE false)

public:
    /// The actions the view owns, which its right-click menu starts with.
    enum StandardAction {
        CopyAsText,  ///< "Copy as Text": copies the page's selection as plain text
        CopyAsHtml,  ///< "Copy as HTML": copies the page's selection as HTML, with its text as plain text
    };
    Q_ENUM(StandardAction)

    /// What a copy of the page's selection puts on the clipboard.
    enum CopyFormat {
        PlainText,  ///< the selection's text
        Html,       ///< the selection's markup (`text/html`), and its text as plain text
    };
    Q_ENUM(CopyFormat)

    /// An empty view, child of parent.
    explicit HtmlView(QWidget* parent = nullptr);
    ~HtmlView() override;

    QString bodyHtml() const;  ///< \copybrief bodyHtml
    /// Replaces the body's content, which the page shows from its top. Its scripts never run, its
    /// links never navigate. Clears #source (emitting sourceChanged()) when the HTML came from a
    /// file.
    void setBodyHtml(const QString& html);
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
    /// once it has loaded. A failure is reported by errorOccurred().
    void setSource(const QUrl& url);
    QString cssText() const;  ///< \copybrief cssText
    void setCssText(const QString& rules);  ///< Sets #cssText.
    bool cssFromUrl() const;  ///< \copybrief cssFromUrl
    void setCssFromUrl(bool fromUrl);  ///< Sets #cssFromUrl.
    QUrl baseUrl() const;  ///< \copybrief baseUrl
    void setBaseUrl(const QUrl& base);  ///< Sets #baseUrl.
    bool mouseSelectEnabled() const;  ///< \copybrief mouseSelectEnabled
    void setMouseSelectEnabled(bool enabled);  ///< Sets #mouseSelectEnabled.
    HtmlError error() const;  ///< \copybrief error

    /// The document the view shows.
    HtmlDocument document() const;
    /// The element under the last click, null before the first click and once the page that
    /// held it is gone. clicked() carries it as well.
    HtmlElement clickedElement() const;

    /// The view's own action which, in the way of QWebEngineView::pageAction(), the host may
    /// retitle, disable, hide (it then leaves the right-click menu) or add to its own menus and
    /// tool bars. Triggered anywhere, it copies the page's selection in turn with the view's
    /// events: aboutToCopy(), the copy, copied(). The view owns it.
    QAction* action(StandardAction which) const;

    QSize sizeHint() const override;  ///< 320 by 240 pixels; a layout may make it larger or smaller.

signals:
    void bodyHtmlChanged(const QString& html);  ///< #bodyHtml changed.
    void sourceChanged(const QUrl& url);  ///< #source changed; empty once the HTML is no longer a file's.
    void cssTextChanged(const QString& rules);  ///< #cssText changed.
    void cssFromUrlChanged(bool fromUrl);  ///< #cssFromUrl changed.
    void baseUrlChanged(const QUrl& base);  ///< #baseUrl changed.
    void mouseSelectEnabledChanged(bool enabled);  ///< #mouseSelectEnabled changed.

    /// The user clicked element with button, Qt::LeftButton or Qt::RightButton; clickedElement()
    /// is element from now on. After a right click the view's menu opens, once the slots have
    /// returned, when it has a visible entry.
    void clicked(const lumetto::HtmlElement& element, Qt::MouseButton button);
    /// A clipboard action was triggered and the page's selection is about to be copied in
    /// format: what the host changes in the page now (a highlight it takes off) is not copied.
    void aboutToCopy(lumetto::HtmlView::CopyFormat format);
    /// The page's selection is on the system clipboard in format.
    void copied(lumetto::HtmlView::CopyFormat format);
    /// The page process ended again while the content restored after its loss was being
    /// drawn, with this view restoring alone: the content itself ends it, so the view does not
    /// show it again. It comes back with its settings and style rules and an empty body
    /// (bodyHtml() is empty, and bodyHtmlChanged() is emitted; a #source is cleared, with
    /// sourceChanged()); what the host writes next is shown as usual. The other views of the process keep their content.
    void contentDiscarded();
    /// The view failed; #error is error from now on. A property write that fails emits it
    /// before it returns, error.call() naming the write ("setBodyHtml"). It also comes from the
    /// event loop for failures that no call returns. Either the display engine cannot start (its
    /// helper process is missing, broken or not allowed to run): from then on every call fails
    /// at once with this error, one that waits for the page as well. Or a write that reached
    /// the page after its call had returned failed there: one kept while the page loaded, or
    /// one the view carries again to a page it loaded anew after its page process ended;
    /// error.call() names it.
    void errorOccurred(const lumetto::HtmlError& error);

private:
    std::unique_ptr<engine::HtmlViewPrivate> d;
};

}  // namespace lumetto
