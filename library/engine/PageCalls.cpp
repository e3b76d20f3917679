#include "engine/PageCalls.h"

#include <lumetto/RuntimeError.h>

#include <QAbstractEventDispatcher>
#include <QDateTime>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <memory>
#include <utility>

namespace lumetto {

lumetto::RuntimeError callFailure(const Member& member, int32_t code, const QString& reason) {
    QString where = QStringLiteral("vekBrowser.%1").arg(QLatin1String(member.name));
    if (member.dispId != 0)
        where += QStringLiteral(" (dispatch id &H%1)").arg(static_cast<quint32>(member.dispId), 0, 16);
    return lumetto::RuntimeError(code ? code : lumetto::ErrorCode::AutomationError,
                                QStringLiteral("%1 in %2: %3")
                                    .arg(lumetto::errorDescription(lumetto::ErrorCode::AutomationError), where, reason));
}

namespace {

// The characters of text a call hands the page, at any depth of its arguments: the markup the
// page parses.
qsizetype textSize(const QJsonValue& value) {
    if (value.isString())
        return value.toString().size();
    qsizetype size = 0;
    for (const QJsonValue& item : value.toArray())
        size += textSize(item);
    return size;
}

// The outcome of one call; shared with the page's answer, which may come after the caller gave up.
struct PendingCall {
    bool answered = false;
    QVariant result;
};

}  // namespace

PageCalls::PageCalls(QWebEnginePage* page) : page_(page) {
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this, [this] { ++epoch_; });
}

void PageCalls::loadingShell() {
    shellReady_ = false;
    shellLoading_ = true;
    posted_ = 0;
    emit stateChanged();
}

bool PageCalls::shellLoading() const {
    return page_ && rendererAlive_ && shellLoading_;
}

void PageCalls::shellLoaded(bool ok) {
    shellReady_ = ok;
    shellLoading_ = false;
    if (ok) {
        rendererAlive_ = true;
        ++generation_;
        emit newGeneration();
    }
    emit stateChanged();
}

void PageCalls::rendererLost() {
    rendererAlive_ = false;
    shellReady_ = false;
    emit stateChanged();
}

void PageCalls::detach() {
    page_.clear();
    emit stateChanged();
}

void PageCalls::engineCannotStart(const QString& reason) {
    engineFailure_ = reason;
    rendererAlive_ = false;
    shellReady_ = false;
    emit stateChanged();
}

QString PageCalls::script(const QString& op, const QJsonArray& args, qint64 deadline) const {
    // Text reaches the page as JSON data, never as script source of its own.
    QJsonArray call{op, args};
    if (deadline)
        call.append(deadline);
    const QByteArray json = QJsonDocument(call).toJson(QJsonDocument::Compact);
    return QStringLiteral("window.__lumetto.call.apply(null, %1)").arg(QString::fromUtf8(json));
}

std::chrono::milliseconds PageCalls::boundFor(const QJsonArray& args) {
    const qsizetype taken = std::exchange(posted_, 0) + textSize(QJsonValue(args));
    return CallBound + BoundPerMillionCharacters * taken / 1000000;
}

void PageCalls::waitFor(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &PageCalls::stateChanged, &loop, &QEventLoop::quit);
    timer.start(bound);
    ++waiting_;
    while (!done() && page_ && rendererAlive_ && timer.isActive())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    --waiting_;
    if (waiting_ == 0)
        emit idle();
}

void PageCalls::checkReachable(const Member& member) const {
    if (!page_)
        throw callFailure(member, 0, QStringLiteral("the control no longer exists"));
    if (!engineFailure_.isEmpty())
        throw callFailure(member, 0, engineFailure_);
    if (!rendererAlive_)
        throw callFailure(member, 0, QStringLiteral("the display engine's page process has ended"));
}

void PageCalls::awaitPage(const Member& member) {
    if (!shellReady_ && page_ && rendererAlive_) {
        emit shellNeeded();
        // Only the engine's first start may take long; a page loaded anew is bounded as a call is.
        const auto bound = generation_ == 0 ? StartBound : CallBound;
        waitFor([this] { return shellReady_; }, bound);
        checkReachable(member);
        if (!shellReady_)
            throw callFailure(member, 0, QStringLiteral("the control's page did not load within %1 s").arg(bound.count() / 1000));
    }
    checkReachable(member);
    emit aboutToCall();
}

void PageCalls::send(const Member& member, const QString& op, const QJsonArray& args) {
    awaitPage(member);
    post(op, args);
}

QVariant PageCalls::call(const Member& member, const QString& op, const QJsonArray& args) {
    awaitPage(member);
    const auto bound = boundFor(args);
    auto pending = std::make_shared<PendingCall>();
    const qint64 deadline = QDateTime::currentMSecsSinceEpoch() + bound.count();
    page_->runJavaScript(script(op, args, deadline), QWebEngineScript::ApplicationWorld,
                         [pending, self = QPointer<PageCalls>(this)](const QVariant& v) {
                             pending->answered = true;
                             pending->result = v;
                             if (self)
                                 emit self->stateChanged();
                         });
    waitFor([&pending] { return pending->answered; }, bound + AnswerGrace);

    if (!pending->answered) {
        checkReachable(member);
        throw callFailure(member, 0, QStringLiteral("the display engine did not answer within %1 s").arg(bound.count() / 1000));
    }
    if (!pending->result.isValid())
        throw callFailure(member, 0, QStringLiteral("the control's page script is not running"));
    const QVariantMap answer = pending->result.toMap();
    if (answer.contains(QStringLiteral("error")))
        throw callFailure(member, answer.value(QStringLiteral("code")).toInt(), answer.value(QStringLiteral("error")).toString());
    return answer.value(QStringLiteral("value"));
}

void PageCalls::post(const QString& op, const QJsonArray& args) {
    if (page_ && rendererAlive_) {
        posted_ += textSize(QJsonValue(args));
        page_->runJavaScript(script(op, args), QWebEngineScript::ApplicationWorld);
    }
}

}  // namespace lumetto
