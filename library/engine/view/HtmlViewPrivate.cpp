#include "engine/view/HtmlViewPrivate.h"

#include "engine/recovery/EngineStart.h"
#include "engine/page/PageElement.h"
#include "engine/page/PageFailure.h"
#include "engine/page/PageScript.h"
#include "engine/view/SlotGuard.h"
#include "engine/view/SourceFile.h"
#include "engine/page/ShellDocument.h"

#include <QHash>
#include <QMetaMethod>
#include <QTimer>
#include <QUrl>

namespace lumetto::engine {
namespace {

// A page operation the view carried to its page after the call that wrote it had returned
// failed there: the failure names that call. What no call wrote (the user's entry in a form
// field, or a binding's rows, shown again on a page loaded anew) is named in the description.
HtmlError carriedFailure(const QString& op, const QString& reason, int code) {
    static const QHash<QString, QString> calls{
        {QStringLiteral("setBase"), QStringLiteral("setBaseUrl")},
        {QStringLiteral("setStyle"), QStringLiteral("setCssText")},
        {QStringLiteral("setAllowMouseSelect"), QStringLiteral("setMouseSelectEnabled")},
        {QStringLiteral("setBody"), QStringLiteral("setBodyHtml")},
        {QStringLiteral("setDocument"), QStringLiteral("setSource")},
        {QStringLiteral("setInnerHTMLAt"), QStringLiteral("HtmlElement::setInnerHtml")},
    };
    const QString call = calls.value(op);
    if (!call.isEmpty())
        return pageFailure(qPrintable(call), reason, code).error;
    const QString what = op == QLatin1String("setFieldAt") ? QStringLiteral("the user's entry in a form field")
                                                            : QStringLiteral("the view's content");
    return pageFailure("", QStringLiteral("%1 could not be shown again: %2").arg(what, reason), code).error;
}

// The document of the view's element handles, through HtmlDocument's constructor for the engine.
class ViewDocument : public HtmlDocument {
public:
    explicit ViewDocument(std::shared_ptr<ElementHandles> handles) : HtmlDocument(std::move(handles)) {}
};

// How long the view waits before it loads its shell again after its page process ended.
constexpr int RestartDelayMs = 100;

// The private side of each view.
QHash<const QObject*, HtmlViewPrivate*>& privates() {
    static QHash<const QObject*, HtmlViewPrivate*> all;
    return all;
}

}  // namespace

HtmlViewPrivate::HtmlViewPrivate(QObject* q, EngineView* engine)
    : q(q), engine(engine), pageEvents(this), calls(std::make_shared<PageCalls>(engine)),
      record(std::make_shared<ContentRecord>()), handles(std::make_shared<ElementHandles>(calls, record)) {
    const QWebEngineScript script = pageScript();
    ensureScript = QStringLiteral("if (!window.__lumetto) {\n%1\n}").arg(script.sourceCode());
    engine->installPageSide(script, &pageEvents);

    events = std::make_unique<ControlEvents>(*engine, handles);
    connect(engine, &EngineView::copyRequested, events.get(),
            [this](int format) { events->queueCopy(static_cast<HtmlView::CopyFormat>(format)); });
    connect(&pageEvents, &PageEvents::raised, events.get(), &ControlEvents::queue);
    connect(&pageEvents, &PageEvents::fieldEntered, this,
            [this](const QJsonArray& path, const QJsonObject& state) { record->fieldChanged(path, state); });
    connect(engine, &EngineView::shellLoaded, this, &HtmlViewPrivate::shellLoaded);
    connect(engine, &EngineView::shellLeft, this, [this] {
        if (calls->ready())
            restoreShell();
    });
    connect(&pageEvents, &PageEvents::carriedStepFailed, this, [this](const QString& op, const QString& error, int code) {
        report(carriedFailure(op, error, code));
    });
    connect(engine, &EngineView::processEnded, this, &HtmlViewPrivate::pageProcessEnded);

    start = std::make_unique<ShellStart>(*engine, *calls, [this] { return !record->body().isEmpty(); },
                                         [this] { loadShell(); });
    connect(&pageEvents, &PageEvents::drawn, start.get(), &ShellStart::drawn);
    connect(&pageEvents, &PageEvents::drawn, this, [this] { watch.drawn(); });
    connect(engine, &EngineView::documentNamed, this, [this](const QString& name) {
        documentName = name;
        if (!calls->shellLoading())
            calls->post(QStringLiteral("setName"), {name});
    });
    privates().insert(q, this);
}

HtmlViewPrivate::~HtmlViewPrivate() {
    privates().remove(q);
    events->forgetClicked();
    calls->detach();
}

HtmlViewPrivate* HtmlViewPrivate::of(const QObject* view) {
    return privates().value(view);
}

void HtmlViewPrivate::loadShell() {
    calls->loadingShell();
    if (restarted && !record->body().isEmpty() && engine->isShown())
        watch.restoring();
    shellFiles = filesScheme(set.baseUrl);
    const QJsonArray now = steps();
    const ShellDocument shell(shellFiles, now);
    carriedSteps = shell.carriesSteps() ? now : QJsonArray();
    engine->loadShell(shell.html(), QUrl(QStringLiteral("file:///")));
}

QJsonArray HtmlViewPrivate::steps() const {
    QJsonArray all = set.steps();
    for (const ContentRecord::Step& step : record->replay())
        all.append(QJsonArray{step.op, step.args});
    if (boundSteps)
        for (const QJsonValue& step : boundSteps())
            all.append(step);
    return all;
}

void HtmlViewPrivate::shellLoaded(bool ok) {
    if (ok && filesScheme(set.baseUrl) != shellFiles) {
        loadShell();  // the base location changed while the shell loaded
        return;
    }
    if (!ok && calls->shellLoading()) {
        restoreShell();  // the page process lives: the load may well succeed again
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
        engine->runScript(ensureScript);
        const QJsonArray now = steps();
        if (now != carriedSteps)
            calls->post(QStringLiteral("carry"), QJsonArray{QJsonValue(now)});
        if (!documentName.isEmpty())
            calls->post(QStringLiteral("setName"), {documentName});
    }
    // Restored content is watched until it draws, also when its turn to draw first has passed.
    if (start->loaded(ok) || (ok && watch.watching()))
        calls->post(QStringLiteral("reportDrawn"), {});
    if (ok && restarted) {
        restarted = false;
        engine->pageRestarted();
    }
}

// The engine may tell more than once of a page process that could not start; the host hears
// once that the engine cannot start, and the view stops loading its shell.
void HtmlViewPrivate::pageProcessEnded(int status, int exitCode) {
    if (calls->engineFailed())
        return;
    const QString cannotStart = EngineStart::failure(status, exitCode);
    if (cannotStart.isEmpty()) {
        restartAfterCrash();
        return;
    }
    calls->engineCannotStart(cannotStart);
    events->pageLost();
    report(HtmlError(HtmlError::PageFailed, cannotStart));
}

void HtmlViewPrivate::restartAfterCrash() {
    calls->rendererLost();
    restarted = true;
    events->pageLost();
    const RestoreWatch::Next next = watch.processLost();
    if (next == RestoreWatch::Next::RestoreEmpty) {
        const bool fromFile = !record->source().isEmpty();
        record->bodySet(QString());
        tellHost([this, fromFile] {
            emit bodyHtmlChanged(QString());
            if (fromFile)
                emit sourceChanged(QUrl());
            emit contentDiscarded();
        });
    }
    QTimer::singleShot(RestartDelayMs, this, [this, alone = next == RestoreWatch::Next::RestoreAlone] {
        watch.restarting();
        start->restart(alone);
    });
}

void HtmlViewPrivate::restoreShell() {
    calls->shellLost();
    restarted = true;
    events->pageLost();
    QTimer::singleShot(RestartDelayMs, this, [this] {
        if (!calls->engineFailed())
            start->restart(false);
    });
}

void HtmlViewPrivate::tellHost(std::function<void()> tell) {
    QMetaObject::invokeMethod(this, [tell = std::move(tell)] { emitGuarded(tell); }, Qt::QueuedConnection);
}

void HtmlViewPrivate::report(const HtmlError& failure) {
    QMetaObject::invokeMethod(this, [this, failure] { reportNow(failure); }, Qt::QueuedConnection);
}

void HtmlViewPrivate::reportNow(const HtmlError& failure) {
    error = failure;
    if (errorReceived())
        emitGuarded([this, failure] { emit errorOccurred(failure); });
    else
        reportFailure(nullptr, failure);
}

void HtmlViewPrivate::setBodyHtml(const QString& html) {
    attemptWrite("setBodyHtml", [&] { setBody("setBodyHtml", html); });
}

void HtmlViewPrivate::setSource(const QUrl& url) {
    attemptWrite("setSource", [&] {
        const SourceFile file = SourceFile::read(url);
        showDocument(file.html, file.folder, url);
    });
}

void HtmlViewPrivate::setCssText(const QString& rules) {
    attemptWrite("setCssText", [&] { applyStyle("setCssText", rules, set.cssFromUrl); });
}

void HtmlViewPrivate::setCssFromUrl(bool fromUrl) {
    attemptWrite("setCssFromUrl", [&] { applyStyle("setCssFromUrl", set.cssText, fromUrl); });
}

void HtmlViewPrivate::setBaseUrl(const QUrl& base) {
    attemptWrite("setBaseUrl", [&] { applyBase("setBaseUrl", base); });
}

void HtmlViewPrivate::setMouseSelectEnabled(bool enabled) {
    attemptWrite("setMouseSelectEnabled", [&] {
        write("setMouseSelectEnabled", QStringLiteral("setAllowMouseSelect"), {enabled});
        if (enabled == set.allowMouseSelect)
            return;
        set.allowMouseSelect = enabled;
        emit mouseSelectEnabledChanged(enabled);
    });
}

HtmlDocument HtmlViewPrivate::document() const {
    return ViewDocument(handles);
}

HtmlElement HtmlViewPrivate::clickedElement() const {
    return PageElement::handleOf(events->clicked());
}

void HtmlViewPrivate::releaseMappers() {
    while (!mappers.empty())
        mappers.back()->setView(nullptr);
}

void HtmlViewPrivate::attemptWrite(const char* call, const std::function<void()>& work) {
    HtmlError failure;
    attempt(&failure, call, work);
    if (failure.isValid())
        reportNow(failure);
}

bool HtmlViewPrivate::write(const char* call, const QString& op, const QJsonArray& args) {
    if (start->keepsWrites())
        return false;
    calls->call(call, op, args);
    return true;
}

// A write the page refused changes nothing: a restarted page gets the rules it had before.
void HtmlViewPrivate::applyStyle(const char* call, const QString& text, bool fromUrl) {
    write(call, QStringLiteral("setStyle"), {text, fromUrl});
    const bool textChanged = text != set.cssText;
    const bool fromUrlChanged = fromUrl != set.cssFromUrl;
    set.cssText = text;
    set.cssFromUrl = fromUrl;
    if (textChanged)
        emit cssTextChanged(text);
    if (fromUrlChanged)
        emit cssFromUrlChanged(fromUrl);
}

void HtmlViewPrivate::applyBase(const char* call, const QUrl& url) {
    const bool sent = write(call, QStringLiteral("setBase"), {url.toString()});
    const bool changed = url != set.baseUrl;
    set.baseUrl = url;
    engine->setFileRoot(url);
    if (sent && filesScheme(url) != shellFiles)
        loadShell();  // a page's policy only ever narrows: another one needs a new page
    if (changed)
        emit baseUrlChanged(url);
}

// The document goes to the page in one step with its folder, the base of its references; where
// the folder needs a page of another policy, the new page's shell brings both. Either way no
// frame shows the one with the other's files: neither the page before with the new folder's
// files of the same names, nor the document with the old folder's.
void HtmlViewPrivate::showDocument(const QString& html, const QUrl& folder, const QUrl& source) {
    constexpr const char* call = "setSource";
    const bool newPolicy = filesScheme(folder) != shellFiles;
    // The page loads the document's files as it takes the document in.
    engine->setFileRoot(folder);
    try {
        if (!newPolicy)
            write(call, QStringLiteral("setDocument"), {html, folder.toString()});
        else if (!start->keepsWrites())
            calls->awaitPage(call);  // where no page can take the call, it fails and nothing changes
    } catch (const PageFailure&) {
        engine->setFileRoot(set.baseUrl);
        throw;
    }
    const bool baseChanged = folder != set.baseUrl;
    const bool bodyChanged = html != record->body();
    const bool sourceNew = source != record->source();
    set.baseUrl = folder;
    record->bodySet(html, source);
    const bool loadsShell = newPolicy && !start->keepsWrites();
    if (loadsShell)
        loadShell();
    const std::shared_ptr<PageCalls> pageCalls = calls;  // a slot may delete the view
    if (baseChanged)
        emit baseUrlChanged(folder);
    if (bodyChanged)
        emit bodyHtmlChanged(html);
    if (sourceNew)
        emit sourceChanged(source);
    if (loadsShell)
        pageCalls->awaitPage(call);  // returns as a write does, once the page shows the file
}

void HtmlViewPrivate::setBody(const char* call, const QString& html) {
    write(call, QStringLiteral("setBody"), {html});
    bodyShown(html);
}

void HtmlViewPrivate::bodyShown(const QString& html) {
    const bool bodyChanged = html != record->body();
    const bool wasFile = !record->source().isEmpty();
    record->bodySet(html);
    if (bodyChanged)
        emit bodyHtmlChanged(html);
    if (wasFile)
        emit sourceChanged(QUrl());
}

}  // namespace lumetto::engine
