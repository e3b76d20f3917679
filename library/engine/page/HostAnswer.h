#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class QWebEngineUrlRequestJob;

namespace lumetto::engine {

// The host's answer to an event its page waits in. The page script raises a click and asks
// its host for the answer (a synchronous request over the control's event scheme), and waits
// for it inside the click's event; the host raises the event, and what its handlers write into
// the page meanwhile is gathered into the answer, which the page carries out before its event
// returns: the writes are in the frame that shows the click, as a page's own handler's would
// be. What the event carried of the clicked element (its id, attributes and inline style)
// answers the handlers' reads of it while the page waits.
//
// Nothing may wait on a page that waits: the page's process holds every view of the process.
// So whatever would wait for a page answers every waiting page first, with what it has
// gathered: a call to a page, and an event loop entered while a page waits (a handler's
// message box or menu, a slot that waits). A write to a page that waits, made while no answer
// is being gathered, answers it first as well, so that writes reach the page in the order made.
class HostAnswer : public QObject {
    Q_OBJECT
public:
    // sendSteps carries page operations gathered for an answer to the page the usual way, when
    // the page went on before its request came.
    explicit HostAnswer(std::function<void(const QJsonArray& steps)> sendSteps);
    ~HostAnswer() override;

    // The answer of the page that asks with this token; null for none.
    static HostAnswer* withToken(const QString& token);
    // Answers every page of the process that waits, now.
    static void answerEveryPage();

    // Where the page asks for its answers, the event's number appended; empty when the engine
    // does not know the event scheme, and the page then raises its events without waiting.
    QString address() const;

    // The page's request for the answer to its event number has come; job is the request.
    void arrived(int number, QWebEngineUrlRequestJob* job);
    // The page's request for the answer to event number failed: the page waits no more.
    void requestFailed(int number);
    // A new document: its events are numbered from the start.
    void newPage();

    // The event number, in which the page waits or is about to, is raised now: until its
    // handlers have returned, what is written to the page goes into its answer, and what the
    // event carried of the element with that handle answers reads of it. Nothing is gathered
    // for an event whose page has gone on.
    void gatherFor(int number, qint64 handle, const QJsonObject& carried);
    // The handlers of event number have returned: the page is answered with what they wrote,
    // now, or as soon as its request comes.
    void handled(int number);
    // Takes op(args) into the answer being gathered; false when none is.
    bool gather(const QString& op, const QJsonArray& args);
    // The value op(args), a read of the element with that handle, has in the page, while the
    // page waits and the event carried it; none otherwise.
    std::optional<QVariant> carried(qint64 handle, const QString& op, const QJsonArray& args) const;

    // The page goes on now in event number, with what was written for it so far: answered, or,
    // before its request has come, sent the usual way and answered at once when it comes.
    void answer(int number);
    // The page goes on now, whatever event it waits in.
    void answerAll() { answer(number_); }

signals:
    // The page waits in its event number, which has not been raised.
    void waiting(int number);

private:
    std::optional<QVariant> attribute(const QString& name) const;
    std::optional<QVariant> styleProperty(const QString& name) const;
    void eventsProcessed();
    void reply(QWebEngineUrlRequestJob* job, const QJsonArray& steps);

    std::function<void(const QJsonArray&)> sendSteps_;
    QString token_;

    // The one event the page waits in, or is about to: a page waits in one event at a time.
    int number_ = 0;  // 0: none
    bool asked_ = false;  // its request has come
    QPointer<QWebEngineUrlRequestJob> job_;  // null once the request has gone
    bool gathering_ = false;  // its handlers run
    QJsonArray steps_;
    int levelAtStart_ = 0;  // the event loop's nesting when the page began to wait
    int answerOnArrival_ = 0;  // an event whose page went on before its request came

    qint64 carriedHandle_ = 0;
    QJsonObject carried_;
    bool styleWritten_ = false;  // the element's inline style was written since the event
};

}  // namespace lumetto::engine
