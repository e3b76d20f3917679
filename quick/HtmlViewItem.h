#pragma once

#include "HtmlErrorValue.h"
#include "QuickDocument.h"
#include "QuickElement.h"

#include <lumetto/HtmlView.h>

#include <QQmlListProperty>
#include <QQuickItem>
#include <QUrl>

#include <memory>

namespace lumetto::engine {
class HtmlViewPrivate;
}

namespace lumetto::quick {

class QuickEngineView;

// The HTML display control as a Qt Quick item, `HtmlView` of `import Lumetto`: the widget
// lumetto::HtmlView's properties, signals and rules on the same engine. Its content never runs
// script, never navigates and loads nothing but files below its base location. A property
// write waits until the page shows the change, except until the item is first shown and while
// its page loads, when it is kept and reaches the page as it loads; a write that fails emits
// errorOccurred() before it returns. The document's reads hand their values later, from the
// event loop (HtmlDocument). A right click opens the view's menu after clicked(): the clipboard
// actions (when visible), then the host's #actions.
class HtmlViewItem : public QQuickItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(HtmlView)
    /// The HTML shown in the page's body; after #source is set, the whole text of the file.
    Q_PROPERTY(QString bodyHtml READ bodyHtml WRITE setBodyHtml NOTIFY bodyHtmlChanged FINAL)
    /// The local file or Qt resource (`file:` or `qrc:` URL) whose HTML the view shows.
    Q_PROPERTY(QUrl source READ source WRITE setSource NOTIFY sourceChanged FINAL)
    /// The style rules of the page, or the URL of a style sheet when #cssFromUrl is set.
    Q_PROPERTY(QString cssText READ cssText WRITE setCssText NOTIFY cssTextChanged FINAL)
    Q_PROPERTY(bool cssFromUrl READ cssFromUrl WRITE setCssFromUrl NOTIFY cssFromUrlChanged FINAL)
    /// The location relative names resolve against; only files below it load.
    Q_PROPERTY(QUrl baseUrl READ baseUrl WRITE setBaseUrl NOTIFY baseUrlChanged FINAL)
    Q_PROPERTY(bool mouseSelectEnabled READ mouseSelectEnabled WRITE setMouseSelectEnabled NOTIFY mouseSelectEnabledChanged FINAL)
    /// The last failure reported with errorOccurred().
    Q_PROPERTY(lumetto::quick::HtmlErrorValue error READ error NOTIFY errorOccurred FINAL)
    /// The document the view shows, read asynchronously.
    Q_PROPERTY(lumetto::quick::QuickDocument* document READ document CONSTANT FINAL)
    /// "Copy as Text" and "Copy as HTML": HtmlViewActions the view owns, which its menu starts
    /// with; the host may retitle, disable or hide them (`visible: false`), or trigger them.
    Q_PROPERTY(QObject* copyAsTextAction READ copyAsTextAction CONSTANT FINAL)
    Q_PROPERTY(QObject* copyAsHtmlAction READ copyAsHtmlAction CONSTANT FINAL)
    /// The host's entries of the menu, Actions of Qt Quick Controls (an HtmlViewAction may be
    /// hidden), in their order.
    Q_PROPERTY(QQmlListProperty<QObject> actions READ actions FINAL)

public:
    /// What a copy puts on the clipboard, as the widget's HtmlView::CopyFormat.
    enum CopyFormat {
        PlainText = HtmlView::PlainText,
        Html = HtmlView::Html,
    };
    Q_ENUM(CopyFormat)

    explicit HtmlViewItem(QQuickItem* parent = nullptr);
    ~HtmlViewItem() override;

    QString bodyHtml() const;
    void setBodyHtml(const QString& html);
    QUrl source() const;
    void setSource(const QUrl& url);
    QString cssText() const;
    void setCssText(const QString& rules);
    bool cssFromUrl() const;
    void setCssFromUrl(bool fromUrl);
    QUrl baseUrl() const;
    void setBaseUrl(const QUrl& base);
    bool mouseSelectEnabled() const;
    void setMouseSelectEnabled(bool enabled);
    HtmlErrorValue error() const;
    QuickDocument* document() const { return document_; }
    QObject* copyAsTextAction() const { return copyActions_[0]; }
    QObject* copyAsHtmlAction() const { return copyActions_[1]; }
    QQmlListProperty<QObject> actions();

signals:
    void bodyHtmlChanged(const QString& html);
    void sourceChanged(const QUrl& url);
    void cssTextChanged(const QString& rules);
    void cssFromUrlChanged(bool fromUrl);
    void baseUrlChanged(const QUrl& base);
    void mouseSelectEnabledChanged(bool enabled);
    /// The user clicked element with button (Qt.LeftButton, Qt.RightButton).
    void clicked(lumetto::quick::QuickElement* element, Qt::MouseButton button);
    void aboutToCopy(lumetto::quick::HtmlViewItem::CopyFormat format);
    void copied(lumetto::quick::HtmlViewItem::CopyFormat format);
    /// The page's content ended its page process again as it was restored; the view comes back empty.
    void contentDiscarded();
    void errorOccurred(lumetto::quick::HtmlErrorValue error);

protected:
    void classBegin() override;

private slots:
    // A clipboard action was triggered.
    void copyAsText();
    void copyAsHtml();

private:
    void openMenu(const QPoint& at);

    std::unique_ptr<engine::HtmlViewPrivate> d;
    QuickEngineView* engine_ = nullptr;
    QuickDocument* document_ = nullptr;
    QObject* copyActions_[2] = {};
    QList<QObject*> actions_;
};

}  // namespace lumetto::quick
