#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <map>
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
    HostAnswer();
    ~HostAnswer() override;

    // The answer of the page that asks with this token; null for none.
    static HostAnswer* withToken(const QString& token);
    // Answers every page of the process that waits, now.
    static void answerEveryPage();

    // Where the page asks for its answers, the event's number appended; empty when the engine
    // does not know the event scheme, and the page then raises its events without waiting.
    QString address() const;

    // The page waits in its event number; job is its request.
    void arrived(int number, QWebEngineUrlRequestJob* job);
    bool waits(int number) const;
    // Whether the page's request for that answer has come, answered since or not.
    bool hasAsked(int number) const { return number <= asked_; }
    // The page's request for the answer to event number failed: the page waits no more.
    void requestFailed(int number);
    // A new document: its events are numbered from the start.
    void newPage();
    bool anyWaiting() const { return !waiting_.empty(); }

    // The event number, for which the page waits, is raised now: until it is answered, what
    // is written to the page goes into its answer, and what the event carried of the element
    // with that handle answers reads of it.
    void gatherFor(int number, qint64 handle, const QJsonObject& carried);
    // Takes op(args) into the answer being gathered; false when none is.
    bool gather(const QString& op, const QJsonArray& args);
    // The value op(args), a read of the element with that handle, has in the page, while the
    // page waits and the event carried it; none otherwise.
    std::optional<QVariant> carried(qint64 handle, const QString& op, const QJsonArray& args) const;

    // Answers the page's event number: with what was gathered for it, if anything was.
    void answer(int number);
    // Answers every event the page waits in.
    void answerAll();

signals:
    // The page waits in its event number; or asked for its answer in vain, and waits no more.
    void waiting(int number);

private:
    std::optional<QVariant> attribute(const QString& name) const;
    std::optional<QVariant> styleProperty(const QString& name) const;
    void eventsProcessed();

    QString token_;
    std::map<int, QPointer<QWebEngineUrlRequestJob>> waiting_;
    int asked_ = 0;  // the number of the page's last request
    int levelAtArrival_ = 0;  // the event loop's nesting when the page began to wait

    int gathering_ = 0;  // the event whose answer is gathered; 0 for none
    QJsonArray steps_;
    qint64 carriedHandle_ = 0;
    QJsonObject carried_;
    bool styleWritten_ = false;  // the element's inline style was written since the event
};

}  // namespace lumetto::engine
