#include "QuickEngineView.h"

#include "engine/page/PageSettings.h"

#include <lumetto/EngineEnvironment.h>

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlWebChannel>
#include <QQuickItem>
#include <QQuickWebEngineProfile>
#include <QQuickWindow>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>

namespace lumetto::quick {
namespace {

// The engine's view, its handlers telling the control of what it does: a navigation other than
// the control's own load of its shell is refused, a new window is not opened (a request nobody
// takes opens none), the engine's own menu does not open, and the content's console is kept to
// itself.
constexpr char ViewQml[] = R"(
import QtWebEngine
WebEngineView {
    property var control
    onNavigationRequested: request => {
        if (control.navigationAccepted(request.isMainFrame))
            request.accept()
        else
            request.reject()
    }
    onLoadingChanged: info => {
        if (info.status === WebEngineView.LoadSucceededStatus || info.status === WebEngineView.LoadFailedStatus
                || info.status === WebEngineView.LoadStoppedStatus)
            control.loadFinished(info.status === WebEngineView.LoadSucceededStatus)
    }
    onUrlChanged: control.urlChanged(url)
    onRenderProcessTerminated: (status, exitCode) => control.processTerminated(status, exitCode)
    onContextMenuRequested: request => { request.accepted = true }
    onJavaScriptConsoleMessage: (level, message, line, source) => {}
}
)";

}  // namespace

QuickEngineView::QuickEngineView(QQuickItem* item)
    : EngineView(item), item_(item), profile_(nullptr), channel_(new QQmlWebChannel(this)) {
    prepareEngineEnvironment();
    QQmlEngine* qml = qmlEngine(item);
    profile_ = new QQuickWebEngineProfile(this);  // off the record: nothing is written to disk
    profile_->setHttpCacheType(QQuickWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QQuickWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    profile_->setUrlRequestInterceptor(files());

    QQmlComponent component(qml);
    component.setData(ViewQml, QUrl());
    QObject* made = component.beginCreate(qmlContext(item));
    if (!made)
        qFatal("Lumetto: the engine's view cannot be made: %s", qPrintable(component.errorString()));
    view_ = qobject_cast<QQuickItem*>(made);
    made->setProperty("control", QVariant::fromValue<QObject*>(this));
    made->setProperty("profile", QVariant::fromValue(profile_));
    auto* settings = made->property("settings").value<QObject*>();
    for (const engine::PageSetting& setting : engine::pageSettings())
        settings->setProperty(setting.property, setting.on);
    view_->setParentItem(item);
    view_->setParent(item);
    component.completeCreate();
    const auto fill = [this] { view_->setSize(item_->size()); };
    connect(item, &QQuickItem::widthChanged, view_, fill);
    connect(item, &QQuickItem::heightChanged, view_, fill);
    fill();

    answerer_ = qml->evaluate(QStringLiteral("(function (control, id) { return function (value) { control.answer(id, value) } })"));
    connect(item, &QQuickItem::windowChanged, this, &QuickEngineView::followWindow);
    connect(item, &QQuickItem::visibleChanged, this, &QuickEngineView::followWindow);
}

QuickEngineView::~QuickEngineView() {
    delete view_;
}

void QuickEngineView::runScript(const QString& script, std::function<void(const QVariant&)> done) {
    if (!view_)
        return;
    QJSValue callback;
    if (done) {
        const int id = nextAnswer_++;
        pending_.insert(id, std::move(done));
        callback = answerer_.call({qmlEngine(item_)->newQObject(this), id});
        QQmlEngine::setObjectOwnership(this, QQmlEngine::CppOwnership);
    }
    QMetaObject::invokeMethod(view_, "runJavaScript", Q_ARG(QString, script), Q_ARG(quint32, QWebEngineScript::ApplicationWorld),
                              Q_ARG(QJSValue, callback));
}

void QuickEngineView::answer(int id, const QJSValue& value) {
    const auto done = pending_.take(id);
    if (done)
        done(value.isUndefined() ? QVariant() : value.toVariant());
}

qint64 QuickEngineView::renderProcessPid() const {
    return view_ ? view_->property("renderProcessPid").toLongLong() : 0;
}

void QuickEngineView::installPageSide(const QWebEngineScript& script, QObject* host) {
    QObject* scripts = view_->property("userScripts").value<QObject*>();
    QMetaObject::invokeMethod(scripts, "insert", Q_ARG(QWebEngineScript, script));
    channel_->registerObject(QStringLiteral("control"), host);
    view_->setProperty("webChannel", QVariant::fromValue(channel_));
    view_->setProperty("webChannelWorld", QVariant::fromValue(quint32(QWebEngineScript::ApplicationWorld)));
}

void QuickEngineView::loadHtml(const QString& html, const QUrl& baseUrl) {
    QMetaObject::invokeMethod(view_, "loadHtml", Q_ARG(QString, html), Q_ARG(QUrl, baseUrl));
}

bool QuickEngineView::isShown() const {
    return item_->isVisible() && item_->window() && item_->window()->isVisible();
}

// The page draws in the item as the item's window shows it.
void QuickEngineView::showPage() {}

void QuickEngineView::followWindow() {
    if (QQuickWindow* window = item_->window())
        connect(window, &QWindow::visibleChanged, this, &QuickEngineView::followWindow, Qt::UniqueConnection);
    if (!shown_ && isShown()) {
        shown_ = true;
        emit showing(true);
    }
}

bool QuickEngineView::windowBlocked() const {
    const QWindow* modal = QGuiApplication::modalWindow();
    return modal && modal != item_->window();
}

void QuickEngineView::openMenu(const QPoint& at) {
    emit menuRequested(at);
}

}  // namespace lumetto::quick
