#include "hosted/webengine/WebBrowserControl.h"

#include "hosted/DispatchIds.h"
#include "hosted/webengine/ControlPage.h"
#include "hosted/webengine/PageBridge.h"
#include "hosted/webengine/PageEvents.h"
#include "hosted/webengine/PageValue.h"
#include "hosted/webengine/WebDocument.h"
#include "hosted/webengine/WebElement.h"

#include <QFile>
#include <QTimer>
#include <QUrl>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <deque>

// The page script is a resource of this static library: register it before first use.
static void registerControlResources() {
    Q_INIT_RESOURCE(control);
}

namespace lumetto {
namespace {

using hosted::Variant;
namespace DispId = hosted::DispId;

const Member AllowMouseSelectMember{DispId::AllowMouseSelect, "AllowMouseSelect"};
const Member SourceHTMLMember{DispId::SourceHTML, "SourceHTML"};
const Member BaseURLMember{DispId::BaseURL, "BaseURL"};
const Member CSSTextMember{DispId::CSSText, "CSSText"};
const Member CSSFromURLMember{DispId::CSSFromURL, "CSSFromURL"};
const Member bodyHTMLMember{DispId::bodyHTML, "bodyHTML"};
const Member GetSelectionHTMLMember{DispId::GetSelectionHTML, "GetSelectionHTML"};

// The document every control starts from: the head holds the base location and the style
// rules, the body holds the content.
const QString Shell = QStringLiteral(
    "<html><head><base href=\"file:///\"><style></style><link rel=\"stylesheet\"></head><body></body></html>");

// How long the control waits before it loads its shell again after its page process ended.
constexpr int RestartDelayMs = 100;

QString resource(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// The page side runs in the application world, with the web channel's client before it.
QWebEngineScript pageScript() {
    registerControlResources();
    QWebEngineScript script;
    script.setName(QStringLiteral("lumetto-control"));
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(resource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) +
                         resource(QStringLiteral(":/lumetto/control.js")));
    return script;
}

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

struct MenuEntry {
    QString key;
    QString caption;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
};

}  // namespace

class WebBrowserControl::Impl : public QObject {
public:
    Impl(QWidget* parent, const hosted::DesignSettings& settings);
    ~Impl() override;

    void applySettings(const hosted::DesignSettings& settings);
    void loadShell();
    void shellLoaded(bool ok);
    void restartAfterCrash();
    void queueEvent(int dispId, const QVariantMap& detail);
    void raisePending();
    void raise(int dispId, const QVariantMap& detail);
    void applyStyle(const Member& member, const QString& text, bool fromUrl);

    QWebEngineView* view;
    ControlPage* page;
    QWebChannel channel;
    PageEvents events;
    std::shared_ptr<PageBridge> bridge;

    hosted::vekBrowserEvents* sink = nullptr;
    bool respondToEvents = true;
    bool raising = false;
    std::deque<std::pair<int, QVariantMap>> pendingEvents;
    std::shared_ptr<WebElement> clicked;

    // What the host set, kept so that a restarted page shows the same again.
    QUrl baseUrl;
    QString cssText;
    bool cssFromUrl = false;
    bool allowMouseSelect = true;
    QString bodyHtml;
    bool showClipboardMenu = true;
    QList<MenuEntry> menu;
};

WebBrowserControl::Impl::Impl(QWidget* parent, const hosted::DesignSettings& settings)
    : view(new QWebEngineView(parent)), page(new ControlPage(sharedProfile(), view)), events(this) {
    view->setPage(page);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    view->setFocusPolicy(Qt::StrongFocus);
    page->scripts().insert(pageScript());
    channel.registerObject(QStringLiteral("control"), &events);
    page->setWebChannel(&channel, QWebEngineScript::ApplicationWorld);
    bridge = std::make_shared<PageBridge>(page);

    connect(&events, &PageEvents::raised, this, &Impl::queueEvent);
    connect(bridge.get(), &PageBridge::idle, this, &Impl::raisePending, Qt::QueuedConnection);
    connect(page, &QWebEnginePage::loadFinished, this, &Impl::shellLoaded);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &Impl::restartAfterCrash);

    applySettings(settings);
    loadShell();
}

WebBrowserControl::Impl::~Impl() {
    clicked.reset();
    bridge->detach();
}

void WebBrowserControl::Impl::applySettings(const hosted::DesignSettings& settings) {
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
    page->loadShell(Shell, QUrl(QStringLiteral("file:///")));
}

void WebBrowserControl::Impl::shellLoaded(bool ok) {
    bridge->shellLoaded(ok);
    if (ok) {
        // Queued ahead of every call that waited for the shell, so the host's calls find
        // the page as the host left it, also after a restart.
        if (!baseUrl.isEmpty())
            bridge->post(QStringLiteral("setBase"), {baseUrl.toString()});
        bridge->post(QStringLiteral("setStyle"), {cssText, cssFromUrl});
        bridge->post(QStringLiteral("setAllowMouseSelect"), {allowMouseSelect});
        if (!bodyHtml.isEmpty())
            bridge->post(QStringLiteral("setBody"), {bodyHtml});
    }
}

void WebBrowserControl::Impl::restartAfterCrash() {
    bridge->rendererLost();
    clicked.reset();
    QTimer::singleShot(RestartDelayMs, this, &Impl::loadShell);
}

void WebBrowserControl::Impl::queueEvent(int dispId, const QVariantMap& detail) {
    pendingEvents.emplace_back(dispId, detail);
    raisePending();
}

// Events are raised one at a time: one that arrives while a handler runs, or while a call
// waits for the page, is raised after it.
void WebBrowserControl::Impl::raisePending() {
    if (raising || bridge->busy())
        return;
    while (!pendingEvents.empty()) {
        auto [dispId, detail] = std::move(pendingEvents.front());
        pendingEvents.pop_front();
        raising = true;
        raise(dispId, detail);
        raising = false;
    }
}

void WebBrowserControl::Impl::raise(int dispId, const QVariantMap& detail) {
    if (dispId == DispId::LeftClick || dispId == DispId::RightClick)
        clicked = bridge->elementFor(detail);
    if (!sink || !respondToEvents)
        return;
    if (dispId == DispId::LeftClick)
        sink->LeftClick();
    else if (dispId == DispId::RightClick)
        sink->RightClick();
}

// A write the page refused changes nothing: a restarted page gets the rules it had before.
void WebBrowserControl::Impl::applyStyle(const Member& member, const QString& text, bool fromUrl) {
    bridge->call(member, QStringLiteral("setStyle"), {text, fromUrl});
    cssText = text;
    cssFromUrl = fromUrl;
}

WebBrowserControl::WebBrowserControl(QWidget* parent, const hosted::DesignSettings& settings)
    : d(std::make_unique<Impl>(parent, settings)) {}

WebBrowserControl::~WebBrowserControl() = default;

QWidget* WebBrowserControl::widget() {
    return d->view;
}

void WebBrowserControl::setEventSink(hosted::vekBrowserEvents* sink) {
    d->sink = sink;
}

Variant WebBrowserControl::ClickedElement() {
    return Variant::fromObject(d->clicked);
}

Variant WebBrowserControl::AllowMouseSelect() {
    return Variant::fromBool(d->allowMouseSelect);
}

void WebBrowserControl::setAllowMouseSelect(const Variant& allow) {
    const bool value = allow.toBool();
    d->bridge->call(AllowMouseSelectMember, QStringLiteral("setAllowMouseSelect"), {value});
    d->allowMouseSelect = value;
}

Variant WebBrowserControl::SourceHTML() {
    return fromPage(d->bridge->call(SourceHTMLMember, QStringLiteral("source")));
}

void WebBrowserControl::setBaseURL(const QString& base) {
    const QUrl url = baseUrlOf(base);
    d->bridge->call(BaseURLMember, QStringLiteral("setBase"), {url.toString()});
    d->baseUrl = url;
    d->page->setFileRoot(url);
}

void WebBrowserControl::setCSSText(const QString& rules) {
    d->applyStyle(CSSTextMember, rules, d->cssFromUrl);
}

void WebBrowserControl::setCSSFromURL(const Variant& fromUrl) {
    d->applyStyle(CSSFromURLMember, d->cssText, fromUrl.toBool());
}

void WebBrowserControl::setBodyHTML(const QString& html) {
    d->bridge->call(bodyHTMLMember, QStringLiteral("setBody"), {html});
    d->bodyHtml = html;
}

Variant WebBrowserControl::Document() {
    return Variant::fromObject(std::make_shared<WebDocument>(d->bridge));
}

void WebBrowserControl::AddMenuItem(const QString& key, const QString& caption) {
    d->menu.append(MenuEntry{key, caption});
}

void WebBrowserControl::UpdateMenuItem(QString& key, const Variant& checkState, const Variant& enabled,
                                       const Variant& visible) {
    for (MenuEntry& entry : d->menu) {
        if (entry.key == key) {
            entry.checked = checkState.toBool();
            entry.enabled = enabled.toBool();
            entry.visible = visible.toBool();
            return;
        }
    }
    throw hosted::RuntimeError(5, QStringLiteral("Invalid procedure call or argument: no menu item has the key \"%1\"").arg(key));
}

Variant WebBrowserControl::GetSelectionHTML() {
    return fromPage(d->bridge->call(GetSelectionHTMLMember, QStringLiteral("selectionHtml")));
}

std::unique_ptr<hosted::vekBrowser> WebBrowserFactory::create(QWidget* parent, const hosted::DesignSettings& settings) {
    return std::make_unique<WebBrowserControl>(parent, settings);
}

}  // namespace lumetto
