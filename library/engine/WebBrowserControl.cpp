#include "engine/WebBrowserControl.h"

#include "engine/DispatchIds.h"
#include "engine/ContentRecord.h"
#include "engine/ControlAccessibility.h"
#include "engine/ControlEvents.h"
#include "engine/ControlMenu.h"
#include "engine/ControlPage.h"
#include "engine/ControlSettings.h"
#include "engine/ElementHandles.h"
#include "engine/EngineStart.h"
#include "engine/FocusOrder.h"
#include "engine/PageCalls.h"
#include "engine/PageEvents.h"
#include "engine/PageScript.h"
#include "engine/PageValue.h"
#include "engine/RestartedPainter.h"
#include "engine/RestoreWatch.h"
#include "engine/ShellDocument.h"
#include "engine/ShellStart.h"
#include "engine/WebDocument.h"
#include "engine/WebElement.h"

#include <QHash>
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

// The member whose write a page operation carried to the page makes, to name it in a failure.
Member carriedMember(const QString& op) {
    static const QHash<QString, Member> members{
        {QStringLiteral("setBase"), BaseURLMember},
        {QStringLiteral("setStyle"), CSSTextMember},
        {QStringLiteral("setAllowMouseSelect"), AllowMouseSelectMember},
        {QStringLiteral("setBody"), bodyHTMLMember},
        {QStringLiteral("setInnerHTMLAt"), {0, "IHTMLElement.innerHTML"}},
        {QStringLiteral("setFieldAt"), {0, "IHTMLElement.value"}},
    };
    return members.value(op, Member{0, "the page's content"});
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

}  // namespace

class WebBrowserControl::Impl : public QObject {
public:
    Impl(QWidget* parent, const lumetto::DesignSettings& settings);
    ~Impl() override;

    void loadShell();
    // What the page is to show beyond the shell, as page operations in order.
    QJsonArray steps() const;
    void shellLoaded(bool ok);
    void pageProcessEnded(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);
    void restartAfterCrash();
    // Tells the host of what no call of its returns (a failure, content discarded), once the
    // engine's callback or the channel's message that told of it has returned, so that a
    // handler of the host's may do anything, even delete the control.
    void tellHost(std::function<void()> tell);
    void report(const lumetto::RuntimeError& failure);
    void applyStyle(const Member& member, const QString& text, bool fromUrl);
    // A write reaches the page now; or, while the control keeps writes for its loading shell,
    // later with the shell (false).
    bool write(const Member& member, const QString& op, const QJsonArray& args);

    QWebEngineView* view;
    ControlPage* page;
    QString ensureScript;  // the page side, for a load the engine did not inject it into
    bool shellHasFiles = false;
    QJsonArray carriedSteps;  // what the loading shell carries
    QWebChannel channel;
    PageEvents pageEvents;
    std::shared_ptr<PageCalls> calls;
    std::shared_ptr<ContentRecord> record;
    std::shared_ptr<ElementHandles> handles;
    std::unique_ptr<ControlMenu> menu;
    std::unique_ptr<ControlEvents> events;
    std::unique_ptr<ShellStart> start;
    ControlSettings set;
    // What a screen reader calls the page's document. Each page is given it once it has loaded,
    // so that a name that comes while the page loads does not make it carry its content again.
    QString documentName;
    bool restarted = false;  // the page process ended: the next shell is a restarted page
    RestoreWatch watch;
    std::function<void()> contentDiscarded;
    std::function<void(const lumetto::RuntimeError&)> failed;
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

    QSize size = view->size();
    set.apply(settings, size);
    view->resize(size);
    menu = std::make_unique<ControlMenu>(set.showClipboardMenu);
    events = std::make_unique<ControlEvents>(view, handles, *menu, set.respondToEvents);
    connect(&pageEvents, &PageEvents::raised, events.get(), &ControlEvents::queue);
    connect(&pageEvents, &PageEvents::fieldEntered, this,
            [this](const QJsonArray& path, const QJsonObject& state) { record->fieldChanged(path, state); });
    connect(page, &ControlPage::shellLoaded, this, &Impl::shellLoaded);
    connect(&pageEvents, &PageEvents::carriedStepFailed, this, [this](const QString& op, const QString& error, int code) {
        report(callFailure(carriedMember(op), code, error));
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &Impl::pageProcessEnded);

    start = std::make_unique<ShellStart>(view, *calls, [this] { return !record->body().isEmpty(); },
                                         [this] { loadShell(); });
    connect(&pageEvents, &PageEvents::drawn, start.get(), &ShellStart::drawn);
    connect(&pageEvents, &PageEvents::drawn, this, [this] { watch.drawn(); });
    keepPainterInFocusOrder(view);
}

WebBrowserControl::Impl::~Impl() {
    events->forgetClicked();
    calls->detach();
}

void WebBrowserControl::Impl::loadShell() {
    calls->loadingShell();
    if (restarted && !record->body().isEmpty() && view->isVisible())
        watch.restoring();
    shellHasFiles = set.baseUrl.isLocalFile();
    const QJsonArray now = steps();
    const ShellDocument shell(shellHasFiles, now);
    carriedSteps = shell.carriesSteps() ? now : QJsonArray();
    page->loadShell(shell.html(), QUrl(QStringLiteral("file:///")));
}

QJsonArray WebBrowserControl::Impl::steps() const {
    QJsonArray all = set.steps();
    for (const ContentRecord::Step& step : record->replay())
        all.append(QJsonArray{step.op, step.args});
    return all;
}

void WebBrowserControl::Impl::shellLoaded(bool ok) {
    if (ok && set.baseUrl.isLocalFile() != shellHasFiles) {
        loadShell();  // the base location changed while the shell loaded
        return;
    }
    calls->shellLoaded(ok);
    if (ok) {
        EngineStart::pageLoaded();
        // Queued ahead of every call that waited for the shell, so the host's calls find
        // the page as the host left it, also after a restart. The page side comes first: the
        // engine does not always inject it into a page that a new page process loads, and
        // started late, it carries out the shell's steps at once. Steps the shell does not
        // carry, or that changed while it loaded, follow, and are carried out as the shell's
        // are.
        page->runJavaScript(ensureScript, QWebEngineScript::ApplicationWorld);
        const QJsonArray now = steps();
        if (now != carriedSteps)
            calls->post(QStringLiteral("carry"), QJsonArray{QJsonValue(now)});
        if (!documentName.isEmpty())
            calls->post(QStringLiteral("setName"), {documentName});
    }
    if (start->loaded(ok))
        calls->post(QStringLiteral("reportDrawn"), {});
    if (ok && restarted) {
        restarted = false;
        paintRestartedPage(view);
    }
}

// The engine may tell more than once of a page process that could not start; the host hears
// once that the engine cannot start, and the control stops loading its shell.
void WebBrowserControl::Impl::pageProcessEnded(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
    if (calls->engineFailed())
        return;
    const QString cannotStart = EngineStart::failure(status, exitCode);
    if (cannotStart.isEmpty()) {
        restartAfterCrash();
        return;
    }
    calls->engineCannotStart(cannotStart);
    events->pageLost();
    report(lumetto::RuntimeError::of(lumetto::ErrorCode::AutomationError, cannotStart));
}

void WebBrowserControl::Impl::restartAfterCrash() {
    calls->rendererLost();
    restarted = true;
    events->pageLost();
    const RestoreWatch::Next next = watch.processLost();
    if (next == RestoreWatch::Next::RestoreEmpty) {
        record->bodySet(QString());
        tellHost([this] {
            if (contentDiscarded)
                contentDiscarded();
        });
    }
    QTimer::singleShot(RestartDelayMs, this, [this, alone = next == RestoreWatch::Next::RestoreAlone] { start->restart(alone); });
}

// A write the page refused changes nothing: a restarted page gets the rules it had before.
void WebBrowserControl::Impl::applyStyle(const Member& member, const QString& text, bool fromUrl) {
    write(member, QStringLiteral("setStyle"), {text, fromUrl});
    set.cssText = text;
    set.cssFromUrl = fromUrl;
}

void WebBrowserControl::Impl::tellHost(std::function<void()> tell) {
    QMetaObject::invokeMethod(this, std::move(tell), Qt::QueuedConnection);
}

void WebBrowserControl::Impl::report(const lumetto::RuntimeError& failure) {
    tellHost([this, failure] {
        if (failed)
            failed(failure);
    });
}

bool WebBrowserControl::Impl::write(const Member& member, const QString& op, const QJsonArray& args) {
    if (start->keepsWrites())
        return false;
    calls->call(member, op, args);
    return true;
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

void WebBrowserControl::onContentDiscarded(std::function<void()> discarded) {
    d->contentDiscarded = std::move(discarded);
}

void WebBrowserControl::onFailed(std::function<void(const lumetto::RuntimeError&)> failed) {
    d->failed = std::move(failed);
}

void WebBrowserControl::setDocumentName(const QString& name) {
    d->documentName = name;
    if (!d->calls->shellLoading())
        d->calls->post(QStringLiteral("setName"), {name});
}

Variant WebBrowserControl::ClickedElement() {
    return Variant::fromObject(d->events->clicked());
}

Variant WebBrowserControl::AllowMouseSelect() {
    return Variant::fromBool(d->set.allowMouseSelect);
}

void WebBrowserControl::setAllowMouseSelect(const Variant& allow) {
    const bool value = allow.toBool();
    d->write(AllowMouseSelectMember, QStringLiteral("setAllowMouseSelect"), {value});
    d->set.allowMouseSelect = value;
}

Variant WebBrowserControl::SourceHTML() {
    return fromPage(d->calls->call(SourceHTMLMember, QStringLiteral("source")));
}

void WebBrowserControl::setBaseURL(const QString& base) {
    const QUrl url = baseUrlOf(base);
    const bool sent = d->write(BaseURLMember, QStringLiteral("setBase"), {url.toString()});
    d->set.baseUrl = url;
    d->page->setFileRoot(url);
    if (sent && url.isLocalFile() != d->shellHasFiles)
        d->loadShell();  // a page's policy only ever narrows: a wider one needs a new page
}

void WebBrowserControl::setCSSText(const QString& rules) {
    d->applyStyle(CSSTextMember, rules, d->set.cssFromUrl);
}

void WebBrowserControl::setCSSFromURL(const Variant& fromUrl) {
    d->applyStyle(CSSFromURLMember, d->set.cssText, fromUrl.toBool());
}

void WebBrowserControl::setBodyHTML(const QString& html) {
    d->write(bodyHTMLMember, QStringLiteral("setBody"), {html});
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
    return d->set.cssText;
}

bool WebBrowserControl::cssFromUrl() const {
    return d->set.cssFromUrl;
}

QString WebBrowserControl::baseUrl() const {
    return d->set.baseUrl.toString();
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
