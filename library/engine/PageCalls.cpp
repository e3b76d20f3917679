#include "engine/PageCalls.h"

#include "engine/PageFailure.h"

#include <QAbstractEventDispatcher>
#include <QDateTime>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>

#include <csignal>
#include <memory>
#include <utility>

namespace lumetto::engine {

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
        shellLost_ = false;
        ++generation_;
        emit newGeneration();
    }
    emit stateChanged();
}

void PageCalls::rendererLost() {
    rendererAlive_ = false;
    shellReady_ = false;
    shellLost_ = false;
    emit stateChanged();
}

void PageCalls::shellLost() {
    rendererLost();
    shellLost_ = true;
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

void PageCalls::checkReachable(const char* caller) const {
    if (!page_)
        throw pageFailure(caller, QStringLiteral("the control no longer exists"));
    if (!engineFailure_.isEmpty())
        throw pageFailure(caller, engineFailure_);
    if (!rendererAlive_)
        throw pageFailure(caller, shellLost_ ? QStringLiteral("the control's page was lost; it loads again")
                                             : QStringLiteral("the display engine's page process has ended"));
}

void PageCalls::endHungProcess() {
    const qint64 pid = page_->renderProcessPid();
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

void PageCalls::awaitPage(const char* caller) {
    if (!shellReady_ && page_ && rendererAlive_) {
        emit shellNeeded();
        // Only the engine's first start may take long; a page loaded anew is bounded as a call is.
        const auto bound = generation_ == 0 ? StartBound : CallBound;
        waitFor([this] { return shellReady_; }, bound);
        checkReachable(caller);
        if (!shellReady_) {
            endHungProcess();
            throw pageFailure(caller, QStringLiteral("the control's page did not load within %1 s").arg(bound.count() / 1000));
        }
    }
    checkReachable(caller);
    emit aboutToCall();
}

void PageCalls::send(const char* caller, const QString& op, const QJsonArray& args) {
    awaitPage(caller);
    post(op, args);
}

QVariant PageCalls::call(const char* caller, const QString& op, const QJsonArray& args) {
    awaitPage(caller);
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
        checkReachable(caller);
        endHungProcess();
        throw pageFailure(caller, QStringLiteral("the display engine did not answer within %1 s: its page process hung "
                                                 "and was ended; the control comes back with what it showed")
                                      .arg(bound.count() / 1000));
    }
    if (!pending->result.isValid())
        throw pageFailure(caller, QStringLiteral("the control's page script is not running"));
    const QVariantMap answer = pending->result.toMap();
    if (answer.contains(QStringLiteral("error")))
        throw pageFailure(caller, answer.value(QStringLiteral("error")).toString(), answer.value(QStringLiteral("code")).toInt());
    return answer.value(QStringLiteral("value"));
}

void PageCalls::post(const QString& op, const QJsonArray& args) {
    if (page_ && rendererAlive_) {
        posted_ += textSize(QJsonValue(args));
        page_->runJavaScript(script(op, args), QWebEngineScript::ApplicationWorld);
    }
}

}  // namespace lumetto::engine
