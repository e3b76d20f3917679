#include "ScriptReply.h"

#include <QJSEngine>
#include <QLoggingCategory>

namespace lumetto::quick {
namespace {

Q_LOGGING_CATEGORY(quickLog, "lumetto.quick", QtWarningMsg)

// Makes a promise with the function that settles it; made once per engine, kept by the engine.
QJSValue promiseMaker(QJSEngine* engine) {
    constexpr const char* key = "_lumettoPromiseMaker";
    QJSValue maker = engine->property(key).value<QJSValue>();
    if (!maker.isCallable()) {
        maker = engine->evaluate(QStringLiteral(
            "(function () { let settle; const promise = new Promise((resolve, reject) => {"
            " settle = (value, error) => error === undefined ? resolve(value) : reject(error) });"
            " return { promise: promise, settle: settle } })"));
        engine->setProperty(key, QVariant::fromValue(maker));
    }
    return maker;
}

void warnOnThrow(const QJSValue& result) {
    if (result.isError())
        qCWarning(quickLog, "a read's callback threw: %s", qPrintable(result.toString()));
}

}  // namespace

ScriptReply::ScriptReply(QJSEngine* engine, const QJSValue& callback) : callback_(callback) {
    const QJSValue made = promiseMaker(engine).call();
    promise_ = made.property(QStringLiteral("promise"));
    settle_ = made.property(QStringLiteral("settle"));
}

void ScriptReply::settle(const QJSValue& value, const QJSValue& error) const {
    if (callback_.isCallable())
        warnOnThrow(callback_.call({value, error}));
    settle_.call({value, error});
}

}  // namespace lumetto::quick
