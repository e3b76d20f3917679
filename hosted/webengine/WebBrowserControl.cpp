#include "hosted/webengine/WebBrowserControl.h"

#include "hosted/DispatchIds.h"
#include "hosted/webengine/ContentRecord.h"
#include "hosted/webengine/ControlAccessibility.h"
#include "hosted/webengine/ControlEvents.h"
#include "hosted/webengine/ControlMenu.h"
#include "hosted/webengine/ControlPage.h"
#include "hosted/webengine/ElementHandles.h"
#include "hosted/webengine/FocusOrder.h"
#include "hosted/webengine/PageCalls.h"
#include "hosted/webengine/PageEvents.h"
#include "hosted/webengine/PageScript.h"
#include "hosted/webengine/PageValue.h"
#include "hosted/webengine/ShellDocument.h"
#include "hosted/webengine/StartOrder.h"
#include "hosted/webengine/WebDocument.h"
#include "hosted/webengine/WebElement.h"

#include <QEvent>
#include <QPalette>
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Before the control is first shown and while its shell loads, what the host writes is
    // kept and reaches the page with the rest of its state when the shell has loaded: nobody
    // can see the page yet, so a host that sets the control up before showing its window
    // waits for nothing. Once shown, a write returns when the page shows it.
    bool keepsWrites() const { return !shown && calls->shellLoading(); }
    // Starts the shell, or lets it wait its turn (StartOrder).
    void startInTurn();
    void startNow();
    void loadShell();
    // What the page is to show beyond the shell, as page operations in order.
    QJsonArray steps() const;
    void shellLoaded(bool ok);
    void restartAfterCrash();
    void applyStyle(const Member& member, const QString& text, bool fromUrl);

    QWebEngineView* view;
    ControlPage* page;
    QString ensureScript;  // the page side, for a load the engine did not inject it into
    bool shellStarted = false;
    bool waitingForTurn = false;
    bool shown = false;
    bool shellHasFiles = false;
    QJsonArray carriedSteps;  // what the loading shell carries
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

    // The shell starts loading once the host has had its first say, so that a base location
    // set right after the control was made decides its policy without a second load: as the
    // control begins to show, when a call needs the page, or when the event loop runs,
    // whichever comes first, and for a control with nothing to show yet, in its turn. Until
    // it has loaded, the control keeps what the host writes, and shows what an empty page shows.
    calls->loadingShell();
    view->setAutoFillBackground(true);
    QPalette empty = view->palette();
    empty.setColor(QPalette::Window, Qt::white);
    view->setPalette(empty);
    keepPainterInFocusOrder(view);
    connect(calls.get(), &PageCalls::shellNeeded, this, &Impl::startNow);
    connect(&pageEvents, &PageEvents::drawn, this, [this] { StartOrder::instance().drawn(this); });
    view->installEventFilter(this);
    QTimer::singleShot(0, this, &Impl::startInTurn);
}

bool WebBrowserControl::Impl::eventFilter(QObject* watched, QEvent* event) {
    // A window polishes its widgets as it begins to show, some way ahead of its show events.
    if (watched == view && (event->type() == QEvent::Polish || event->type() == QEvent::Show)) {
        shown = shown || event->type() == QEvent::Show;
        startInTurn();
    }
    return false;
}

void WebBrowserControl::Impl::startInTurn() {
    if (shellStarted || waitingForTurn)
        return;
    if (record->body().isEmpty()) {
        waitingForTurn = true;
        StartOrder::instance().startWhenFree(this, [this] { startNow(); });
    } else {
        StartOrder::instance().drawing(this);
        startNow();
    }
}

void WebBrowserControl::Impl::startNow() {
    if (shellStarted)
        return;
    shellStarted = true;
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
    calls->loadingShell();
    shellHasFiles = baseUrl.isLocalFile();
    const QJsonArray now = steps();
    const ShellDocument shell(shellHasFiles, now);
    carriedSteps = shell.carriesSteps() ? now : QJsonArray();
    page->loadShell(shell.html(), QUrl(QStringLiteral("file:///")));
}

QJsonArray WebBrowserControl::Impl::steps() const {
    QJsonArray all;
    if (!baseUrl.isEmpty())
        all.append(QJsonArray{QStringLiteral("setBase"), QJsonArray{baseUrl.toString()}});
    all.append(QJsonArray{QStringLiteral("setStyle"), QJsonArray{cssText, cssFromUrl}});
    all.append(QJsonArray{QStringLiteral("setAllowMouseSelect"), QJsonArray{allowMouseSelect}});
    for (const ContentRecord::Step& step : record->replay())
        all.append(QJsonArray{step.op, step.args});
    return all;
}

void WebBrowserControl::Impl::shellLoaded(bool ok) {
    if (ok && baseUrl.isLocalFile() != shellHasFiles) {
        loadShell();  // the base location changed while the shell loaded
        return;
    }
    calls->shellLoaded(ok);
    if (ok) {
        // Queued ahead of every call that waited for the shell, so the host's calls find
        // the page as the host left it, also after a restart. The page side comes first: the
        // engine does not always inject it into a page that a new page process loads, and
        // started late, it carries out the shell's steps at once. Steps the shell does not
        // carry, or that changed while it loaded, follow.
        page->runJavaScript(ensureScript, QWebEngineScript::ApplicationWorld);
        const QJsonArray now = steps();
        if (now != carriedSteps)
            for (const QJsonValue& step : now)
                calls->post(step[0].toString(), step[1].toArray());
    }
    StartOrder& order = StartOrder::instance();
    if (ok && order.isDrawing(this))
        calls->post(QStringLiteral("reportDrawn"), {});
    else
        order.drawn(this);
}

void WebBrowserControl::Impl::restartAfterCrash() {
    calls->rendererLost();
    events->forgetClicked();
    QTimer::singleShot(RestartDelayMs, this, &Impl::loadShell);
}

// A write the page refused changes nothing: a restarted page gets the rules it had before.
void WebBrowserControl::Impl::applyStyle(const Member& member, const QString& text, bool fromUrl) {
    if (!keepsWrites())
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
    if (!d->keepsWrites())
        d->calls->call(AllowMouseSelectMember, QStringLiteral("setAllowMouseSelect"), {value});
    d->allowMouseSelect = value;
}

Variant WebBrowserControl::SourceHTML() {
    return fromPage(d->calls->call(SourceHTMLMember, QStringLiteral("source")));
}

void WebBrowserControl::setBaseURL(const QString& base) {
    const QUrl url = baseUrlOf(base);
    const bool kept = d->keepsWrites();
    if (!kept)
        d->calls->call(BaseURLMember, QStringLiteral("setBase"), {url.toString()});
    d->baseUrl = url;
    d->page->setFileRoot(url);
    if (!kept && url.isLocalFile() != d->shellHasFiles)
        d->loadShell();  // a page's policy only ever narrows: a wider one needs a new page
}

void WebBrowserControl::setCSSText(const QString& rules) {
    d->applyStyle(CSSTextMember, rules, d->cssFromUrl);
}

void WebBrowserControl::setCSSFromURL(const Variant& fromUrl) {
    d->applyStyle(CSSFromURLMember, d->cssText, fromUrl.toBool());
}

void WebBrowserControl::setBodyHTML(const QString& html) {
    if (!d->keepsWrites())
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
