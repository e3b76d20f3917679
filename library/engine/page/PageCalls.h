#pragma once

#include <lumetto/HtmlError.h>

#include <QJsonArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <chrono>
#include <functional>

class QEventLoop;

namespace lumetto::engine {

class EngineView;

// Host-to-page calls of one control. A request runs the page-side operation and hands its
// outcome to a function once the page has answered, within a bound; a call is a request whose
// caller waits for it in a nested event loop that takes no user input. A page that does not
// answer (its renderer died or hangs) fails the call instead of hanging the application. A page process that hangs is ended: it
// would hold every control of the process until it ends by itself, which may take minutes,
// and ended, it is started again, and the controls come back as after a crash.
class PageCalls : public QObject {
    Q_OBJECT
public:
    // A call the page has not begun within its bound is not carried out: the page refuses it
    // when it comes to it. The host waits AnswerGrace longer for the answer of one it has
    // begun, so that what the host is told and what the page does are one outcome. The bound
    // is CallBound, and BoundPerMillionCharacters more for every million characters of text
    // the page takes in before it answers, the call's own and that posted ahead of it: the page
    // parses markup and lays the page out anew before it answers, about a second for a million
    // characters of paragraphs on a machine of two cores with nothing else running; the rest
    // is room for a busy machine.
    static constexpr std::chrono::milliseconds CallBound{5000};
    static constexpr std::chrono::milliseconds BoundPerMillionCharacters{3000};
    static constexpr std::chrono::milliseconds AnswerGrace{2000};
    static constexpr std::chrono::milliseconds StartBound{30000};

    explicit PageCalls(EngineView* page);

    // The outcome of a request: the page's value, or the failure (then the value is invalid).
    using Answer = std::function<void(const QVariant& value, const HtmlError& failure)>;

    // Runs op(args) in the page and hands answer its value or the failure, which names the
    // library's call that made it, exactly once: at once when the request fails at once, else
    // from the event loop, once the page answers, its bound passes or the page goes.
    void request(const char* caller, const QString& op, const QJsonArray& args, Answer answer);
    // Runs op(args) in the page, waiting for it, and returns its value; fails with a PageFailure
    // naming the library's call that made it.
    QVariant call(const char* caller, const QString& op, const QJsonArray& args = {});
    // Runs op(args) in the page after everything sent before, without waiting for it: for a
    // write whose outcome the host knows, since every later call sees its effect. Fails like
    // call when there is no page to send it to.
    void send(const char* caller, const QString& op, const QJsonArray& args);
    // Runs op(args) in the page without waiting for it, after everything sent before.
    void post(const QString& op, const QJsonArray& args);
    // Waits for the shell, if it is loading, then fails like call unless the page can take a call.
    void awaitPage(const char* caller);

    // Each load of the shell is a new generation of the page.
    int generation() const { return generation_; }
    // Counts the event loop's wake-ups: a value read from the page stays current while this
    // does not change, since nothing can have reached the page meanwhile.
    quint64 epoch() const { return epoch_; }

    // True while the shell loads in a page process that lives: what the host writes then can
    // wait for the load instead of the host waiting for it.
    bool shellLoading() const;
    // True while the page takes calls: its shell has loaded in a page process that lives.
    bool ready() const { return !page_.isNull() && rendererAlive_ && shellReady_; }
    // True while a call waits for the page: events that arrive then are held back.
    bool busy() const { return waiting_ > 0; }

    // The control is gone: every later call fails.
    void detach();
    bool detached() const { return page_.isNull(); }
    // The display engine cannot start a page process: every waiting and later call fails at
    // once, for that reason.
    void engineCannotStart(const QString& reason);
    bool engineFailed() const { return !engineFailure_.isEmpty(); }

public slots:
    void loadingShell();
    void shellLoaded(bool ok);
    void rendererLost();
    // The page lost its shell while its page process lives on: calls fail as while the process
    // is down, until the shell has loaded again.
    void shellLost();

signals:
    // A call waits for a shell that has not started loading yet: it is needed now.
    void shellNeeded();
    // A call is about to go to the page: what must reach the page before it is posted now.
    void aboutToCall();
    // The shell was loaded anew: a new generation begins.
    void newGeneration();
    // The last pending call has returned: events held back may be raised now.
    void idle();
    // Something a waiting call may be waiting for has happened.
    void stateChanged();

private:
    // What a watch does once what it waits for has come: empty while it has not.
    using Outcome = std::function<void()>;
    // Runs settle(timedOut) each time the page's state changes and once the bound passes, until
    // it returns an outcome, which it then runs, once.
    void watch(std::chrono::milliseconds bound, std::function<Outcome(bool timedOut)> settle);
    // Runs then once the page can take a call, with no error; or with the failure, when it
    // cannot: at once when that is known now, else from the event loop.
    void whenPageReady(const char* caller, std::function<void(const HtmlError&)> then);
    // Runs op(args) in the page, which can take it now.
    void dispatch(const char* caller, const QString& op, const QJsonArray& args, Answer answer);
    // Waits in loop, taking no user input, until done() holds; what makes it hold quits loop.
    void waitIn(QEventLoop& loop, const std::function<bool()>& done);
    // The failure of a call when the page cannot answer (the control or its page process is
    // gone); no error when it can.
    HtmlError unreachable(const char* caller) const;
    // Ends the page process, which did not answer within a call's bound.
    void endHungProcess();
    // The page-side call of op(args); with a deadline (ms since the epoch), one the page
    // refuses once that has passed.
    QString script(const QString& op, const QJsonArray& args, qint64 deadline = 0) const;
    // The bound of a call with these arguments; what was posted ahead of it counts as well.
    std::chrono::milliseconds boundFor(const QJsonArray& args);

    QPointer<EngineView> page_;
    bool shellReady_ = false;
    bool shellLoading_ = false;
    bool rendererAlive_ = true;
    bool shellLost_ = false;  // not the page process ended, but the page's shell
    QString engineFailure_;
    int waiting_ = 0;
    int generation_ = 0;
    quint64 epoch_ = 0;
    qsizetype posted_ = 0;  // characters posted to the page since the last call
};

}  // namespace lumetto::engine
