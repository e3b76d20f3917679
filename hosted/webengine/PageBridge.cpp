#include "hosted/webengine/PageBridge.h"

#include "hosted/RuntimeError.h"
#include "hosted/webengine/WebElement.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace lumetto {
namespace {

hosted::RuntimeError failure(const Member& member, int32_t code, const QString& reason) {
    QString where = QStringLiteral("vekBrowser.%1").arg(QLatin1String(member.name));
    if (member.dispId != 0)
        where += QStringLiteral(" (dispatch id &H%1)").arg(static_cast<quint32>(member.dispId), 0, 16);
    return hosted::RuntimeError(code ? code : hosted::ErrorCode::AutomationError,
                                QStringLiteral("Automation error in %1: %2").arg(where, reason));
}

// The outcome of one call; shared with the page's answer, which may come after the caller gave up.
struct PendingCall {
    bool answered = false;
    QVariant result;
};

}  // namespace

PageBridge::PageBridge(QWebEnginePage* page) : page_(page) {
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this, [this] { ++epoch_; });
    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(0);
    connect(&releaseTimer_, &QTimer::timeout, this, &PageBridge::flushReleases);
}

void PageBridge::shellLoaded(bool ok) {
    shellReady_ = ok;
    if (ok) {
        rendererAlive_ = true;
        ++generation_;
        elements_.clear();
        pendingReleases_ = QJsonArray();
    }
    emit stateChanged();
}

void PageBridge::rendererLost() {
    rendererAlive_ = false;
    shellReady_ = false;
    emit stateChanged();
}

bool PageBridge::starting() const {
    return !shellReady_ && !page_.isNull() && rendererAlive_ && generation_ == 0;
}

void PageBridge::detach() {
    page_.clear();
    emit stateChanged();
}

QString PageBridge::script(const QString& op, const QJsonArray& args) const {
    // Text reaches the page as JSON data, never as script source of its own.
    const QByteArray json = QJsonDocument(QJsonArray{op, args}).toJson(QJsonDocument::Compact);
    return QStringLiteral("window.__lumetto.call.apply(null, %1)").arg(QString::fromUtf8(json));
}

void PageBridge::awaitShell(const Member& member) {
    if (shellReady_ || !page_ || !rendererAlive_)
        return;
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &PageBridge::stateChanged, &loop, &QEventLoop::quit);
    bound.start(StartBound);
    ++waiting_;
    while (!shellReady_ && page_ && rendererAlive_ && bound.isActive())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    --waiting_;
    if (!shellReady_ && page_ && rendererAlive_)
        throw failure(member, 0, QStringLiteral("the display engine did not start within %1 s").arg(StartBound.count() / 1000));
}

void PageBridge::awaitPage(const Member& member) {
    awaitShell(member);
    if (!page_)
        throw failure(member, 0, QStringLiteral("the control no longer exists"));
    if (!rendererAlive_)
        throw failure(member, 0, QStringLiteral("the display engine's page process has ended"));
    flushReleases();
}

void PageBridge::send(const Member& member, const QString& op, const QJsonArray& args) {
    awaitPage(member);
    post(op, args);
}

QVariant PageBridge::call(const Member& member, const QString& op, const QJsonArray& args) {
    awaitPage(member);
    auto pending = std::make_shared<PendingCall>();
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &PageBridge::stateChanged, &loop, &QEventLoop::quit);
    QPointer<QEventLoop> waiter(&loop);
    page_->runJavaScript(script(op, args), QWebEngineScript::ApplicationWorld, [pending, waiter](const QVariant& v) {
        pending->answered = true;
        pending->result = v;
        if (waiter)
            waiter->quit();
    });
    bound.start(CallBound);
    ++waiting_;
    while (!pending->answered && page_ && rendererAlive_ && bound.isActive())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    --waiting_;
    if (waiting_ == 0)
        emit idle();

    if (!pending->answered) {
        if (!page_)
            throw failure(member, 0, QStringLiteral("the control no longer exists"));
        if (!rendererAlive_)
            throw failure(member, 0, QStringLiteral("the display engine's page process has ended"));
        throw failure(member, 0, QStringLiteral("the display engine did not answer within %1 s").arg(CallBound.count() / 1000));
    }
    if (!pending->result.isValid())
        throw failure(member, 0, QStringLiteral("the control's page script is not running"));
    const QVariantMap answer = pending->result.toMap();
    if (answer.contains(QStringLiteral("error")))
        throw failure(member, answer.value(QStringLiteral("code")).toInt(), answer.value(QStringLiteral("error")).toString());
    return answer.value(QStringLiteral("value"));
}

void PageBridge::post(const QString& op, const QJsonArray& args) {
    if (page_ && rendererAlive_)
        page_->runJavaScript(script(op, args), QWebEngineScript::ApplicationWorld);
}

std::shared_ptr<WebElement> PageBridge::elementFor(const QVariant& ref) {
    const QVariantMap map = ref.toMap();
    if (map.isEmpty())
        return nullptr;
    return elementFor(map.value(QStringLiteral("h")).toLongLong(), map.value(QStringLiteral("tag")).toString());
}

std::shared_ptr<WebElement> PageBridge::elementFor(qint64 handle, const QString& tagName) {
    std::weak_ptr<WebElement>& known = elements_[handle];
    auto element = known.lock();
    if (!element) {
        element = std::make_shared<WebElement>(shared_from_this(), generation_, handle, tagName);
        known = element;
    }
    return element;
}

void PageBridge::forget(qint64 handle, int generation) {
    if (generation != generation_)
        return;  // that page is gone, and its handles with it
    elements_.erase(handle);
    pendingReleases_.append(handle);
    releaseTimer_.start();
}

void PageBridge::flushReleases() {
    if (pendingReleases_.isEmpty())
        return;
    post(QStringLiteral("release"), QJsonArray{pendingReleases_});
    pendingReleases_ = QJsonArray();
}

}  // namespace lumetto
