#pragma once

#include "hosted/webengine/Member.h"

#include <QJsonArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <chrono>
#include <map>
#include <memory>

class QWebEnginePage;

namespace lumetto {

class WebElement;

// Host-to-page calls of one control. Each call is synchronous for the caller: it runs the
// page-side operation and waits in a nested event loop that takes no user input, within a
// bound. A page that does not answer (its renderer died or hangs) fails the call with a
// run-time error instead of hanging the application.
class PageBridge : public QObject, public std::enable_shared_from_this<PageBridge> {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds CallBound{5000};
    static constexpr std::chrono::milliseconds StartBound{30000};

    explicit PageBridge(QWebEnginePage* page);

    // Runs op(args) in the page and returns its value; fails with a RuntimeError naming member.
    QVariant call(const Member& member, const QString& op, const QJsonArray& args = {});
    // Runs op(args) in the page after everything sent before, without waiting for it: for a
    // write whose outcome the host knows, since every later call sees its effect. Fails like
    // call when there is no page to send it to.
    void send(const Member& member, const QString& op, const QJsonArray& args);
    // Runs op(args) in the page without waiting for it, after everything sent before.
    void post(const QString& op, const QJsonArray& args);

    // The host object of the element a page reference ({h, tag}) names; the same element
    // gives the same object for as long as the host holds it. Null for a null reference.
    std::shared_ptr<WebElement> elementFor(const QVariant& ref);
    std::shared_ptr<WebElement> elementFor(qint64 handle, const QString& tagName);

    // The host released its last reference to an element of that generation of the page.
    void forget(qint64 handle, int generation);

    // Each load of the shell is a new generation: handles of an earlier one name nothing.
    int generation() const { return generation_; }
    // Counts the event loop's wake-ups: a value read from the page stays current while this
    // does not change, since nothing can have reached the page meanwhile.
    quint64 epoch() const { return epoch_; }

    // True until the first shell has loaded, while the page process starts.
    bool starting() const;

    // True while a call waits for the page: events that arrive then are held back.
    bool busy() const { return waiting_ > 0; }

    // The control is gone: every later call fails.
    void detach();

public slots:
    void shellLoaded(bool ok);
    void rendererLost();

signals:
    // The last pending call has returned: events held back may be raised now.
    void idle();
    // Something a waiting call may be waiting for has happened.
    void stateChanged();

private:
    void awaitShell(const Member& member);
    // Waits for the shell, then fails unless a page is there to take a call.
    void awaitPage(const Member& member);
    void flushReleases();
    QString script(const QString& op, const QJsonArray& args) const;

    QPointer<QWebEnginePage> page_;
    bool shellReady_ = false;
    bool rendererAlive_ = true;
    int waiting_ = 0;
    int generation_ = 0;
    quint64 epoch_ = 0;
    std::map<qint64, std::weak_ptr<WebElement>> elements_;
    // Releases go to the page together, ahead of the next call, so that a handle is never
    // released after the page handed it out again.
    QJsonArray pendingReleases_;
    QTimer releaseTimer_;
};

}  // namespace lumetto
