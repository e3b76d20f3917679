#include "hosted/webengine/WebBrowserControl.h"

#include "hosted/DispatchIds.h"
#include "hosted/webengine/ControlMenu.h"
#include "hosted/webengine/ControlPage.h"
#include "hosted/webengine/PageBridge.h"
#include "hosted/webengine/PageEvents.h"
#include "hosted/webengine/PageValue.h"
#include "hosted/webengine/WebDocument.h"
#include "hosted/webengine/WebElement.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
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
const Member CopyMember{0, "clipboard copy"};

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

// What the control raises next: a page event, or a choice from its menu.
struct PendingEvent {
    int dispId;
    QVariantMap detail;
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
    void raise(const PendingEvent& event);
    void raiseMenuChoice(const QString& key);
    void copySelection(bool asHtml);
    void menuChosen(const ControlMenu::Choice& choice);
    void applyStyle(const Member& member, const QString& text, bool fromUrl);
    void write(const Member& member, const QString& op, const QJsonArray& args);

    QWebEngineView* view;
    ControlPage* page;
    QWebChannel channel;
    PageEvents events;
    std::shared_ptr<PageBridge> bridge;

    hosted::vekBrowserEvents* sink = nullptr;
    bool respondToEvents = true;
    bool raising = false;
    QTimer raiseTimer;
    std::deque<PendingEvent> pendingEvents;
    std::shared_ptr<WebElement> clicked;

    // What the host set, kept so that a restarted page shows the same again.
    QUrl baseUrl;
    QString cssText;
    bool cssFromUrl = false;
    bool allowMouseSelect = true;
    QString bodyHtml;
    bool showClipboardMenu = true;
    std::unique_ptr<ControlMenu> menu;
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

    // Events are raised from a timer, never from inside the engine's delivery of a message nor
    // from Qt's delivery of posted events: a handler's calls wait for answers that the engine
    // posts, and those would not be delivered until the outer delivery had finished.
    raiseTimer.setSingleShot(true);
    raiseTimer.setInterval(0);
    connect(&raiseTimer, &QTimer::timeout, this, &Impl::raisePending);
    connect(&events, &PageEvents::raised, this, &Impl::queueEvent);
    connect(bridge.get(), &PageBridge::idle, &raiseTimer, qOverload<>(&QTimer::start));
    connect(page, &QWebEnginePage::loadFinished, this, &Impl::shellLoaded);
    connect(page, &QWebEnginePage::renderProcessTerminated, this, &Impl::restartAfterCrash);

    applySettings(settings);
    menu = std::make_unique<ControlMenu>(showClipboardMenu);
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
    pendingEvents.push_back({dispId, detail});
    raiseTimer.start();
}

// Events are raised one at a time: one that arrives while a handler runs, or while a call
// waits for the page, is raised after it.
void WebBrowserControl::Impl::raisePending() {
    if (raising || bridge->busy())
        return;
    while (!pendingEvents.empty()) {
        const PendingEvent event = std::move(pendingEvents.front());
        pendingEvents.pop_front();
        raising = true;
        raise(event);
        raising = false;
    }
}

void WebBrowserControl::Impl::raise(const PendingEvent& event) {
    const bool toHost = sink && respondToEvents;
    switch (event.dispId) {
    case DispId::LeftClick:
        clicked = bridge->elementFor(event.detail);
        if (toHost)
            sink->LeftClick();
        break;
    case DispId::RightClick:
        clicked = bridge->elementFor(event.detail);
        if (toHost)
            sink->RightClick();
        if (!menu->isEmpty()) {
            const QPoint at(event.detail.value(QStringLiteral("x")).toInt(), event.detail.value(QStringLiteral("y")).toInt());
            menu->popup(view, at, [this](const ControlMenu::Choice& choice) { menuChosen(choice); });
        }
        break;
    case DispId::MenuItemClick:
        if (toHost)
            raiseMenuChoice(event.detail.value(QStringLiteral("key")).toString());
        break;
    case DispId::ClipboardCopy:
        copySelection(event.detail.value(QStringLiteral("html")).toBool());
        break;
    }
}

// A choice from the menu is raised in turn with the page's events.
void WebBrowserControl::Impl::menuChosen(const ControlMenu::Choice& choice) {
    if (choice.kind == ControlMenu::Choice::Entry)
        pendingEvents.push_back({DispId::MenuItemClick, {{QStringLiteral("key"), choice.key}}});
    else
        pendingEvents.push_back({DispId::ClipboardCopy, {{QStringLiteral("html"), choice.kind == ControlMenu::Choice::CopyHtml}}});
    raiseTimer.start();
}

void WebBrowserControl::Impl::raiseMenuChoice(const QString& chosenKey) {
    QString key = chosenKey;
    Variant reserved1;
    Variant reserved2;
    int16_t checkState = menu->isChecked(key) ? -1 : 0;
    sink->MenuItemClick(key, reserved1, checkState, reserved2);
}

// The host takes its highlight off first, so that no highlight is ever copied; then the
// selection goes to the system clipboard and the host hears which kind of copy it was.
void WebBrowserControl::Impl::copySelection(bool asHtml) {
    const bool toHost = sink && respondToEvents;
    if (toHost)
        sink->RestoreHighlight();
    try {
        const QString text = bridge->call(CopyMember, QStringLiteral("createRange")).toMap().value(QStringLiteral("text")).toString();
        if (asHtml) {
            auto* data = new QMimeData;
            data->setHtml(bridge->call(CopyMember, QStringLiteral("selectionHtml")).toString());
            data->setText(text);
            QGuiApplication::clipboard()->setMimeData(data);
        } else {
            QGuiApplication::clipboard()->setText(text);
        }
    } catch (const hosted::RuntimeError& failure) {
        qWarning("The copy did not reach the clipboard: %s", failure.what());
        return;
    }
    int32_t copiedAsHtml = asHtml ? 1 : 0;
    if (toHost)
        sink->ClipboardCopy(copiedAsHtml);
}

// While the page process starts, a setting is only kept: the shell takes every kept setting once
// it has loaded. So the host's first settings need not wait for the engine, and its window can
// come up while the page process starts.
void WebBrowserControl::Impl::write(const Member& member, const QString& op, const QJsonArray& args) {
    if (!bridge->starting())
        bridge->call(member, op, args);
}

// A write the page refused changes nothing: a restarted page gets the rules it had before.
void WebBrowserControl::Impl::applyStyle(const Member& member, const QString& text, bool fromUrl) {
    write(member, QStringLiteral("setStyle"), {text, fromUrl});
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
    d->write(AllowMouseSelectMember, QStringLiteral("setAllowMouseSelect"), {value});
    d->allowMouseSelect = value;
}

Variant WebBrowserControl::SourceHTML() {
    return fromPage(d->bridge->call(SourceHTMLMember, QStringLiteral("source")));
}

void WebBrowserControl::setBaseURL(const QString& base) {
    const QUrl url = baseUrlOf(base);
    d->write(BaseURLMember, QStringLiteral("setBase"), {url.toString()});
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
    d->write(bodyHTMLMember, QStringLiteral("setBody"), {html});
    d->bodyHtml = html;
}

Variant WebBrowserControl::Document() {
    return Variant::fromObject(std::make_shared<WebDocument>(d->bridge));
}

void WebBrowserControl::AddMenuItem(const QString& key, const QString& caption) {
    d->menu->add(key, caption);
}

void WebBrowserControl::UpdateMenuItem(QString& key, const Variant& checkState, const Variant& enabled,
                                       const Variant& visible) {
    if (!d->menu->update(key, checkState.toBool(), enabled.toBool(), visible.toBool()))
        throw hosted::RuntimeError(5, QStringLiteral("Invalid procedure call or argument: no menu item has the key \"%1\"").arg(key));
}

Variant WebBrowserControl::GetSelectionHTML() {
    return fromPage(d->bridge->call(GetSelectionHTMLMember, QStringLiteral("selectionHtml")));
}

std::unique_ptr<hosted::vekBrowser> WebBrowserFactory::create(QWidget* parent, const hosted::DesignSettings& settings) {
    return std::make_unique<WebBrowserControl>(parent, settings);
}

}  // namespace lumetto
