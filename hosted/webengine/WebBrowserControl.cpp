#include "hosted/webengine/WebBrowserControl.h"

#include "hosted/DispatchIds.h"
#include "hosted/webengine/ContentRecord.h"
#include "hosted/webengine/ControlAccessibility.h"
#include "hosted/webengine/ControlEvents.h"
#include "hosted/webengine/ControlMenu.h"
#include "hosted/webengine/ControlPage.h"
#include "hosted/webengine/ElementHandles.h"
#include "hosted/webengine/PageCalls.h"
#include "hosted/webengine/PageEvents.h"
#include "hosted/webengine/PageScript.h"
#include "hosted/webengine/PageValue.h"
#include "hosted/webengine/WebDocument.h"
#include "hosted/webengine/WebElement.h"

#include <QTimer>
#include <QUrl>
#include <QWebChannel>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace lumetto {
namespace {

using lumetto::Variant;
namespace DispId = lumetto::DispId;

const Member AllowMouseSelectMember{DispId::AllowMouseSelect, "AllowMouseSelect"};
const Member SourceHTMLMember{DispId::SourceHTML, "SourceHTML"};
const Member BaseURLMember{DispId::BaseURL, "BaseURL"};
const Member CSSTextMember{DispId::CSSText, "CSSText"};
const Member CSSFromURLMember{DispId::CSSFromURL, "CSSFromURL"};
const Member bodyHTMLMember{DispId::bodyHTML, "bodyHTML"};
const Member GetSelectionHTMLMember{DispId::GetSelectionHTML, "GetSelectionHTML"};

// The document every control starts from: the head holds the base location and the style
// rules, the body holds the content. Its policy lets the content load files only once the
// control has a base directory: a file refused to a control is refused inside its page, before
// any request, so that it never touches what the page process holds for another control.
QString shell(bool files) {
    const QString sources = files ? QStringLiteral("data: file:") : QStringLiteral("data:");
    const QString policy = QStringLiteral("default-src 'none'; img-src %1; style-src 'unsafe-inline' %1; "
                                          "font-src %1; media-src %1")
                               .arg(sources);
    return QStringLiteral("<html><head><meta http-equiv=\"Content-Security-Policy\" content=\"%1\">"
                          "<base href=\"file:///\"><style></style><link rel=\"stylesheet\"></head><body></body></html>")
        .arg(policy);
}

// How long the control waits before it loads its shell again after its page process ended.
constexpr int RestartDelayMs = 100;

// A base location as the host writes it: a URL, or a local directory such as "/opt/demo/"
// or "C:/Apps/Demo/".
QUrl baseUrlOf(const QString& base) {
    const QUrl asUrl(base);
    if (asUrl.scheme().size() > 1)
        return asUrl;
    return QUrl::fromLocalFile(base);
}

// Design extents are hundredths of a millimetre.
int extentToPixels(const Variant& extent) {
    return qRound(extent.toText().toDouble() / 2540.0 * 96.0);
}

}  // namespace

class WebBrowserControl::Impl : public QObject {
public:
    Impl(QWidget* parent, const lumetto::DesignSettings& settings);
    ~Impl() override;

    void applySettings(const lumetto::DesignSettings& settings);
    void loadShell();
    void shellLoaded(bool ok);
    void restartAfterCrash();
    void applyStyle(const Member& member, const QString& text, bool fromUrl);

    QWebEngineView* view;
    ControlPage* page;
    QString ensureScript;  // the page side, for a load the engine did not inject it into
    bool shellHasFiles = false;
    QWebChannel channel;
    PageEvents pageEvents;
    std::shared_ptr<PageCalls> calls;
    std::shared_ptr<ContentRecord> record;
    std::shared_ptr<ElementHandles> handles;
    std::unique_ptr<ControlMenu> menu;
    std::unique_ptr<ControlEvents> events;

    // What the host set, kept so that a restarted page shows the same again.
    QUrl baseUrl;
    QString cssText;
    bool cssFromUrl = false;
    bool allowMouseSelect = true;
    bool respondToEvents = true;
    bool showClipboardMenu = true;
};

WebBrowserControl::Impl::Impl(QWidget* parent, const lumetto::DesignSettings& settings)
    : view(accessibleView(parent)), page(new ControlPage(sharedProfile(), view)), pageEvents(this),
      calls(std::make_shared<PageCalls>(page)), record(std::make_shared<ContentRecord>()),
      handles(std::make_shared<ElementHandles>(calls, record)) {
    view->setPage(page);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setFocusPolicy(Qt::StrongFocus);
    const QWebEngineScript script = pageScript();
    page->scripts().insert(script);
    ensureScript = QStringLiteral("if (!window.__lumetto) {\n%1\n}").arg(script.sourceCode());
    channel.registerObject(QStringLiteral("control"), &pageEvents);
    page->setWebChannel(&channel, QWebEngineScript::ApplicationWorld);

    applySettings(settings);
    menu = std::make_unique<ControlMenu>(showClipboardMenu);
    events = std::make_unique<ControlEvents>(view, handles, *menu, respondToEvents);
    connect(&pageEvents, &PageEvents::raised, events.get(), &ControlEvents::queue);
    connect(&pageEvents, &PageEvents::fieldEntered, this,
            [this](const QJsonArray& path, const QJsonObject& state) { record->fieldChanged(path, state); });
    connect(page, &ControlPage::shellLoaded, this, &Impl::shellLoaded);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &Impl::restartAfterCrash);
    loadShell();
}

WebBrowserControl::Impl::~Impl() {
    events->forgetClicked();
    calls->detach();
}

void WebBrowserControl::Impl::applySettings(const lumetto::DesignSettings& settings) {
    QSize size = view->size();
    for (const auto& [key, value] : settings) {
        if (key == QLatin1String("_extentx"))
            size.setWidth(extentToPixels(value));
        else if (key == QLatin1String("_extenty"))
            size.setHeight(extentToPixels(value));
        else if (key == QLatin1String("csshttp"))
            cssFromUrl = value.toBool();
        else if (key == QLatin1String("csstext"))
            cssText = value.toText();
        else if (key == QLatin1String("respondtoevents"))
            respondToEvents = value.toBool();
        else if (key == QLatin1String("allowmouseselect"))
            allowMouseSelect = value.toBool();
        else if (key == QLatin1String("showrightclickclipboardmenu"))
            showClipboardMenu = value.toBool();
    }
    view->resize(size);
}

void WebBrowserControl::Impl::loadShell() {
    calls->shellLoading();
    shellHasFiles = baseUrl.isLocalFile();
    page->loadShell(shell(shellHasFiles), QUrl(QStringLiteral("file:///")));
}

void WebBrowserControl::Impl::shellLoaded(bool ok) {
    calls->shellLoaded(ok);
    if (ok) {
        // Queued ahead of every call that waited for the shell, so the host's calls find
        // the page as the host left it, also after a restart. The page side comes first: the
        // engine does not always inject it into a page that a new page process loads.
        page->runJavaScript(ensureScript, QWebEngineScript::ApplicationWorld);
        if (!baseUrl.isEmpty())
            calls->post(QStringLiteral("setBase"), {baseUrl.toString()});
        calls->post(QStringLiteral("setStyle"), {cssText, cssFromUrl});
        calls->post(QStringLiteral("setAllowMouseSelect"), {allowMouseSelect});
        for (const ContentRecord::Step& step : record->replay())
            calls->post(step.op, step.args);
    }
}

void WebBrowserControl::Impl::restartAfterCrash() {
    calls->rendererLost();
    events->forgetClicked();
    QTimer::singleShot(RestartDelayMs, this, &Impl::loadShell);
}

// A write the page refused changes nothing: a restarted page gets the rules it had before.
void WebBrowserControl::Impl::applyStyle(const Member& member, const QString& text, bool fromUrl) {
    calls->call(member, QStringLiteral("setStyle"), {text, fromUrl});
    cssText = text;
    cssFromUrl = fromUrl;
}

WebBrowserControl::WebBrowserControl(QWidget* parent, const lumetto::DesignSettings& settings)
    : d(std::make_unique<Impl>(parent, settings)) {}

WebBrowserControl::~WebBrowserControl() = default;

QWidget* WebBrowserControl::widget() {
    return d->view;
}

void WebBrowserControl::setEventSink(lumetto::vekBrowserEvents* sink) {
    d->events->setSink(sink);
}

Variant WebBrowserControl::ClickedElement() {
    return Variant::fromObject(d->events->clicked());
}

Variant WebBrowserControl::AllowMouseSelect() {
    return Variant::fromBool(d->allowMouseSelect);
}

void WebBrowserControl::setAllowMouseSelect(const Variant& allow) {
    const bool value = allow.toBool();
    d->calls->call(AllowMouseSelectMember, QStringLiteral("setAllowMouseSelect"), {value});
    d->allowMouseSelect = value;
}

Variant WebBrowserControl::SourceHTML() {
    return fromPage(d->calls->call(SourceHTMLMember, QStringLiteral("source")));
}

void WebBrowserControl::setBaseURL(const QString& base) {
    const QUrl url = baseUrlOf(base);
    d->calls->call(BaseURLMember, QStringLiteral("setBase"), {url.toString()});
    d->baseUrl = url;
    d->page->setFileRoot(url);
    if (url.isLocalFile() != d->shellHasFiles)
        d->loadShell();  // a page's policy only ever narrows: a wider one needs a new page
}

void WebBrowserControl::setCSSText(const QString& rules) {
    d->applyStyle(CSSTextMember, rules, d->cssFromUrl);
}

void WebBrowserControl::setCSSFromURL(const Variant& fromUrl) {
    d->applyStyle(CSSFromURLMember, d->cssText, fromUrl.toBool());
}

void WebBrowserControl::setBodyHTML(const QString& html) {
    d->calls->call(bodyHTMLMember, QStringLiteral("setBody"), {html});
    d->record->bodySet(html);
}

Variant WebBrowserControl::Document() {
    return Variant::fromObject(std::make_shared<WebDocument>(d->handles));
}

void WebBrowserControl::AddMenuItem(const QString& key, const QString& caption) {
    d->menu->add(key, caption);
}

void WebBrowserControl::UpdateMenuItem(QString& key, const Variant& checkState, const Variant& enabled,
                                       const Variant& visible) {
    if (!d->menu->update(key, checkState.toBool(), enabled.toBool(), visible.toBool()))
        throw lumetto::RuntimeError::invalidProcedureCall(QStringLiteral("no menu item has the key \"%1\"").arg(key));
}

Variant WebBrowserControl::GetSelectionHTML() {
    return fromPage(d->calls->call(GetSelectionHTMLMember, QStringLiteral("selectionHtml")));
}

QString WebBrowserControl::cssText() const {
    return d->cssText;
}

bool WebBrowserControl::cssFromUrl() const {
    return d->cssFromUrl;
}

QString WebBrowserControl::baseUrl() const {
    return d->baseUrl.toString();
}

QString WebBrowserControl::bodyHtml() const {
    return d->record->body();
}

bool WebBrowserControl::clipboardMenuEnabled() const {
    return d->menu->showsClipboardEntries();
}

void WebBrowserControl::setClipboardMenuEnabled(bool enabled) {
    d->menu->setShowsClipboardEntries(enabled);
}

bool WebBrowserControl::respondsToEvents() const {
    return d->events->respondsToEvents();
}

void WebBrowserControl::setRespondsToEvents(bool responds) {
    d->events->setRespondsToEvents(responds);
}

}  // namespace lumetto
