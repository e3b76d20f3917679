#include "QuickDocument.h"

#include "QuickElement.h"
#include "ScriptReply.h"

namespace lumetto::quick {

QuickDocument::QuickDocument(const HtmlDocument& document, QJSEngine* engine, QObject* parent)
    : QObject(parent), document_(document), engine_(engine) {}

QJSValue QuickDocument::body(const QJSValue& callback) const {
    return readForScript<HtmlElement>(
        engine_, this, callback, [this](const QObject* context, auto done) { document_.body(context, done); },
        [engine = engine_](const HtmlElement& element) { return QuickElement::toScript(engine, element); });
}

QJSValue QuickDocument::elements(const QJSValue& callback) const {
    return readForScript<QList<HtmlElement>>(
        engine_, this, callback, [this](const QObject* context, auto done) { document_.elements(context, done); },
        [engine = engine_](const QList<HtmlElement>& all) {
            QJSValue array = engine->newArray(all.size());
            for (qsizetype i = 0; i < all.size(); ++i)
                array.setProperty(quint32(i), QuickElement::toScript(engine, all.at(i)));
            return array;
        });
}

QJSValue QuickDocument::selectedText(const QJSValue& callback) const {
    return readForScript<QString>(
        engine_, this, callback, [this](const QObject* context, auto done) { document_.selectedText(context, done); },
        [engine = engine_](const QString& text) { return engine->toScriptValue(text); });
}

QJSValue QuickDocument::hasSelectedControls(const QJSValue& callback) const {
    return readForScript<bool>(
        engine_, this, callback, [this](const QObject* context, auto done) { document_.hasSelectedControls(context, done); },
        [](bool has) { return QJSValue(has); });
}

QJSValue QuickDocument::selectedHtml(const QJSValue& callback) const {
    return readForScript<QString>(
        engine_, this, callback, [this](const QObject* context, auto done) { document_.selectedHtml(context, done); },
        [engine = engine_](const QString& html) { return engine->toScriptValue(html); });
}

QJSValue QuickDocument::source(const QJSValue& callback) const {
    return readForScript<QString>(
        engine_, this, callback, [this](const QObject* context, auto done) { document_.source(context, done); },
        [engine = engine_](const QString& html) { return engine->toScriptValue(html); });
}

}  // namespace lumetto::quick
