#include "engine/page/HostAnswer.h"

#include "engine/page/EventScheme.h"

#include <QAbstractEventDispatcher>
#include <QBuffer>
#include <QHash>
#include <QJsonDocument>
#include <QThread>
#include <QUuid>
#include <QWebEngineUrlRequestJob>

#include <algorithm>

namespace lumetto::engine {
namespace {

QHash<QString, HostAnswer*>& answers() {
    static QHash<QString, HostAnswer*> all;
    return all;
}

// A name as the page matches it without regard to case: ASCII letters only. None for a name
// with other letters, whose match the host leaves to the page.
std::optional<QString> asciiLower(const QString& name) {
    QString lower = name;
    for (QChar& c : lower) {
        if (c.unicode() > 127)
            return std::nullopt;
        c = c.toLower();
    }
    return lower;
}

int loopLevel() {
    return QThread::currentThread()->loopLevel();
}

}  // namespace

HostAnswer::HostAnswer(std::function<void(const QJsonArray& steps)> sendSteps)
    : sendSteps_(std::move(sendSteps)), token_(QUuid::createUuid().toString(QUuid::Id128)) {
    answers().insert(token_, this);
    QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance();
    connect(events, &QAbstractEventDispatcher::awake, this, &HostAnswer::eventsProcessed);
    connect(events, &QAbstractEventDispatcher::aboutToBlock, this, &HostAnswer::eventsProcessed);
}

HostAnswer::~HostAnswer() {
    answers().remove(token_);
    answerAll();
}

HostAnswer* HostAnswer::withToken(const QString& token) {
    return answers().value(token);
}

void HostAnswer::answerEveryPage() {
    for (HostAnswer* answer : std::as_const(answers()))
        answer->answerAll();
}

QString HostAnswer::address() const {
    return EventScheme::registered() ? QStringLiteral("%1:%2/").arg(EventScheme::scheme(), token_) : QString();
}

void HostAnswer::reply(QWebEngineUrlRequestJob* job, const QJsonArray& steps) {
    auto* body = new QBuffer(job);
    body->setData(QJsonDocument(steps).toJson(QJsonDocument::Compact));
    job->reply("application/json", body);
}

void HostAnswer::arrived(int number, QWebEngineUrlRequestJob* job) {
    if (number == answerOnArrival_) {
        answerOnArrival_ = 0;
        return reply(job, {});
    }
    if (number == number_) {  // raised already
        asked_ = true;
        job_ = job;
        if (!gathering_)
            answer(number);
        return;
    }
    answerAll();  // a page waits in one event at a time
    number_ = number;
    asked_ = true;
    job_ = job;
    levelAtStart_ = loopLevel();
    emit waiting(number);
}

void HostAnswer::requestFailed(int number) {
    if (number == answerOnArrival_)
        answerOnArrival_ = 0;
    if (number != number_)
        return;
    asked_ = true;
    job_.clear();
    if (!gathering_)
        answer(number);
}

void HostAnswer::newPage() {
    answerAll();
    answerOnArrival_ = 0;
}

void HostAnswer::gatherFor(int number, qint64 handle, const QJsonObject& carried) {
    if (number == answerOnArrival_ || (number == number_ && asked_ && !job_))
        return;  // the page went on
    if (number != number_) {
        answerAll();
        number_ = number;
        asked_ = false;
        job_.clear();
        levelAtStart_ = loopLevel();
    }
    gathering_ = true;
    steps_ = QJsonArray();
    carriedHandle_ = handle;
    carried_ = carried;
    styleWritten_ = false;
}

void HostAnswer::handled(int number) {
    if (number != number_ || !gathering_)
        return;
    gathering_ = false;
    if (asked_)
        answer(number);
}

// A handler that processes events (in a message box, a menu, a wait of its own) may wait there
// for anything, the page included; so may an event loop entered since the page began to wait.
// The page goes on at once.
void HostAnswer::eventsProcessed() {
    if (number_ && (gathering_ || loopLevel() > levelAtStart_))
        answerAll();
}

bool HostAnswer::gather(const QString& op, const QJsonArray& args) {
    if (!gathering_)
        return false;
    steps_.append(QJsonArray{op, args});
    // Only the element's own style writes change what it carried, of the writes the control
    // makes; of any other write, what it changed is not known here.
    if (op == QLatin1String("setStyleProperty")) {
        if (args.first().toInteger() == carriedHandle_)
            styleWritten_ = true;
    } else if (op != QLatin1String("release")) {
        carried_ = QJsonObject();
    }
    return true;
}

std::optional<QVariant> HostAnswer::carried(qint64 handle, const QString& op, const QJsonArray& args) const {
    if (!gathering_ || handle != carriedHandle_ || carried_.isEmpty())
        return std::nullopt;
    if (op == QLatin1String("id"))
        return carried_.value(QStringLiteral("id")).toVariant();
    if (op == QLatin1String("getAttribute"))
        return attribute(args.first().toString());
    if (op == QLatin1String("styleProperty") && !styleWritten_)
        return styleProperty(args.first().toString());
    return std::nullopt;
}

// As the page reads an attribute: a form field's value is what the user entered; an HTML
// element's names match without regard to case; an absent attribute is null.
std::optional<QVariant> HostAnswer::attribute(const QString& name) const {
    const std::optional<QString> lower = asciiLower(name);
    if (!lower)
        return std::nullopt;
    if (*lower == QLatin1String("value") && carried_.contains(QStringLiteral("fieldValue")))
        return carried_.value(QStringLiteral("fieldValue")).toVariant();
    if (!carried_.contains(QStringLiteral("attributes")))
        return std::nullopt;
    const QString key = carried_.value(QStringLiteral("html")).toBool() ? *lower : name;
    for (const QJsonValue& attribute : carried_.value(QStringLiteral("attributes")).toArray()) {
        const QJsonArray pair = attribute.toArray();
        if (pair.at(0).toString() == key)
            return pair.at(1).toVariant();
    }
    return QVariant::fromValue(nullptr);
}

// As the page reads an inline style property: a name of a property the element's style sets,
// or any name of an element that sets none, whose every property is empty. A shorthand of
// what it sets is the page's to tell.
std::optional<QVariant> HostAnswer::styleProperty(const QString& name) const {
    if (!carried_.contains(QStringLiteral("style")))
        return std::nullopt;
    const QJsonObject style = carried_.value(QStringLiteral("style")).toObject();
    const std::optional<QString> key = name.startsWith(QLatin1String("--")) ? name : asciiLower(name);
    if (key && style.contains(*key))
        return style.value(*key).toVariant();
    if (style.isEmpty())
        return QString();
    return std::nullopt;
}

void HostAnswer::answer(int number) {
    if (!number)
        return;
    if (number != number_) {
        answerOnArrival_ = number;  // raised before its request came, which is on its way
        return;
    }
    const QJsonArray steps = std::exchange(steps_, QJsonArray());
    const QPointer<QWebEngineUrlRequestJob> job = job_;
    const bool asked = asked_;
    number_ = 0;
    asked_ = false;
    job_.clear();
    gathering_ = false;
    if (job)
        return reply(job, steps);
    if (!steps.isEmpty())
        sendSteps_(steps);
    if (!asked)
        answerOnArrival_ = number;
}

}  // namespace lumetto::engine
