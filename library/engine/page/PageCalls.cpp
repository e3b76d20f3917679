#include "engine/page/PageCalls.h"

#include "engine/page/EngineView.h"
#include "engine/page/PageFailure.h"

#include <QAbstractEventDispatcher>
#include <QDateTime>
#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>

#include <csignal>
#include <memory>
#include <optional>
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

// Hands answer the page's answer to a call: its value, or the failure it tells of.
void answerWith(const char* caller, const QVariant& result, const PageCalls::Answer& answer) {
    if (!result.isValid())
        return answer({}, pageFailure(caller, QStringLiteral("the control's page script is not running")).error);
    const QVariantMap reply = result.toMap();
    if (reply.contains(QStringLiteral("error")))
        return answer({}, pageFailure(caller, reply.value(QStringLiteral("error")).toString(), reply.value(QStringLiteral("code")).toInt()).error);
    answer(reply.value(QStringLiteral("value")), {});
}

}  // namespace

PageCalls::PageCalls(EngineView* page) : page_(page) {
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

void PageCalls::waitIn(QEventLoop& loop, const std::function<bool()>& done) {
    if (done())
        return;
    ++waiting_;
    while (!done())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    --waiting_;
    if (waiting_ == 0)
        emit idle();
}

// The watch's timer is not a child of the calls: the outcome it holds may hold the last
// reference to them (a read's document), which then goes as the timer does, and would delete
// the timer again. A timer whose watch has not ended goes with the calls.
void PageCalls::watch(std::chrono::milliseconds bound, std::function<Outcome(bool timedOut)> settle) {
    auto* timer = new QTimer;
    connect(this, &QObject::destroyed, timer, &QObject::deleteLater);
    timer->setSingleShot(true);
    auto over = std::make_shared<bool>(false);
    const auto finish = [timer, over, settle = std::move(settle)](bool timedOut) {
        if (*over)
            return;
        const Outcome outcome = settle(timedOut);
        if (!outcome)
            return;
        *over = true;
        timer->stop();
        timer->deleteLater();
        outcome();
    };
    connect(this, &PageCalls::stateChanged, timer, [finish] { finish(false); });
    connect(timer, &QTimer::timeout, this, [finish] { finish(true); });
    timer->start(bound);
    finish(false);
}

HtmlError PageCalls::unreachable(const char* caller) const {
    if (!page_)
        return pageFailure(caller, QStringLiteral("the control no longer exists")).error;
    if (!engineFailure_.isEmpty())
        return pageFailure(caller, engineFailure_).error;
    if (!rendererAlive_)
        return pageFailure(caller, shellLost_ ? QStringLiteral("the control's page was lost; it loads again")
                                              : QStringLiteral("the display engine's page process has ended"))
            .error;
    return {};
}

void PageCalls::endHungProcess() {
    const qint64 pid = page_->renderProcessPid();
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

void PageCalls::whenPageReady(const char* caller, std::function<void(const HtmlError&)> then) {
    if (shellReady_ || !page_ || !rendererAlive_)
        return then(unreachable(caller));
    emit shellNeeded();
    // Only the engine's first start may take long; a page loaded anew is bounded as a call is.
    const auto bound = generation_ == 0 ? StartBound : CallBound;
    watch(bound, [this, caller, then = std::move(then), bound](bool timedOut) -> Outcome {
        // A shell that has just loaded is given what it is to show first, as its load returns:
        // the call goes to the page after that.
        if (shellReady_)
            return [this, caller, then] {
                QMetaObject::invokeMethod(this, [this, caller, then] { whenPageReady(caller, then); }, Qt::QueuedConnection);
            };
        if (!page_ || !rendererAlive_)
            return [then, failure = unreachable(caller)] { then(failure); };
        if (!timedOut)
            return {};
        endHungProcess();
        return [then, failure = pageFailure(caller, QStringLiteral("the control's page did not load within %1 s").arg(bound.count() / 1000)).error] {
            then(failure);
        };
    });
}

void PageCalls::awaitPage(const char* caller) {
    QEventLoop loop;
    std::optional<HtmlError> outcome;
    whenPageReady(caller, [&loop, &outcome](const HtmlError& failure) {
        outcome = failure;
        loop.quit();
    });
    waitIn(loop, [&outcome] { return outcome.has_value(); });
    if (outcome->isValid())
        throw PageFailure{*outcome};
    emit aboutToCall();
}

void PageCalls::send(const char* caller, const QString& op, const QJsonArray& args) {
    awaitPage(caller);
    post(op, args);
}

void PageCalls::request(const char* caller, const QString& op, const QJsonArray& args, Answer answer) {
    whenPageReady(caller, [this, caller, op, args, answer = std::move(answer)](const HtmlError& failure) {
        if (failure.isValid())
            answer({}, failure);
        else
            dispatch(caller, op, args, answer);
    });
}

void PageCalls::dispatch(const char* caller, const QString& op, const QJsonArray& args, Answer answer) {
    emit aboutToCall();
    const auto bound = boundFor(args);
    auto reply = std::make_shared<std::optional<QVariant>>();
    const qint64 deadline = QDateTime::currentMSecsSinceEpoch() + bound.count();
    page_->runScript(script(op, args, deadline),
                      [reply, self = QPointer<PageCalls>(this)](const QVariant& v) {
                          *reply = v;
                          if (self)
                              emit self->stateChanged();
                      });
    watch(bound + AnswerGrace, [this, caller, reply, answer = std::move(answer), bound](bool timedOut) -> Outcome {
        if (*reply)
            return [caller, value = **reply, answer] { answerWith(caller, value, answer); };
        if (const HtmlError failure = unreachable(caller); failure.isValid())
            return [answer, failure] { answer({}, failure); };
        if (!timedOut)
            return {};
        endHungProcess();
        return [answer, failure = pageFailure(caller, QStringLiteral("the display engine did not answer within %1 s: its page process "
                                                                     "hung and was ended; the control comes back with what it showed")
                                                          .arg(bound.count() / 1000))
                                      .error] { answer({}, failure); };
    });
}

QVariant PageCalls::call(const char* caller, const QString& op, const QJsonArray& args) {
    QEventLoop loop;
    std::optional<std::pair<QVariant, HtmlError>> outcome;
    request(caller, op, args, [&loop, &outcome](const QVariant& value, const HtmlError& failure) {
        outcome.emplace(value, failure);
        loop.quit();
    });
    waitIn(loop, [&outcome] { return outcome.has_value(); });
    if (outcome->second.isValid())
        throw PageFailure{outcome->second};
    return outcome->first;
}

void PageCalls::post(const QString& op, const QJsonArray& args) {
    if (page_ && rendererAlive_) {
        posted_ += textSize(QJsonValue(args));
        page_->runScript(script(op, args));
    }
}

}  // namespace lumetto::engine
