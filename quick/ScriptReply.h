#pragma once

#include "HtmlErrorValue.h"

#include <QJSEngine>
#include <QJSValue>

namespace lumetto::quick {

// How a read of the document hands QML its outcome, later, from the event loop: to the
// callback the call was given, `function (value, error)` (error undefined on success), and by
// the promise the call returns, resolved with the value or rejected with the error. A callback
// that throws is written to the log; later reads still come.
class ScriptReply {
public:
    ScriptReply(QJSEngine* engine, const QJSValue& callback);

    QJSValue promise() const { return promise_; }
    void succeed(const QJSValue& value) const { settle(value, QJSValue()); }
    void fail(const QJSValue& error) const { settle(QJSValue(), error); }

private:
    void settle(const QJSValue& value, const QJSValue& error) const;

    QJSValue callback_;
    QJSValue promise_;
    QJSValue settle_;
};

// Starts one of the library's asynchronous reads, start(context, done), for QML: returns the
// promise, and hands the value, through toScript, or the failure to callback and the promise.
template <typename Value, typename Start, typename ToScript>
QJSValue readForScript(QJSEngine* engine, const QObject* context, const QJSValue& callback, Start start, ToScript toScript) {
    const ScriptReply reply(engine, callback);
    start(context, [reply, engine, toScript](const Value& value, const HtmlError& error) {
        if (error.isValid())
            reply.fail(engine->toScriptValue(HtmlErrorValue(error)));
        else
            reply.succeed(toScript(value));
    });
    return reply.promise();
}

}  // namespace lumetto::quick
