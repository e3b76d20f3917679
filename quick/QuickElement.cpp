#include "QuickElement.h"

#include "ScriptReply.h"

namespace lumetto::quick {
namespace {

QJSValue asScript(QJSEngine* engine, const QVariant& value) {
    return engine->toScriptValue(value);
}

}  // namespace

QuickElement::QuickElement(const HtmlElement& element, QJSEngine* engine) : element_(element), engine_(engine) {}

QJSValue QuickElement::toScript(QJSEngine* engine, const HtmlElement& element) {
    return engine->newQObject(new QuickElement(element, engine));  // no parent: the script engine owns it
}

bool QuickElement::sameAs(QuickElement* other) const {
    return other && other->element_ == element_;
}

QJSValue QuickElement::textRead(const QJSValue& callback, const TextRead& start) const {
    return readForScript<QString>(engine_, this, callback, start, [engine = engine_](const QString& v) { return asScript(engine, v); });
}

QJSValue QuickElement::id(const QJSValue& callback) const {
    return textRead(callback, [this](const QObject* context, const TextDone& done) { element_.id(context, done); });
}

QJSValue QuickElement::attribute(const QString& name, const QJSValue& callback) const {
    return textRead(callback, [&](const QObject* context, const TextDone& done) { element_.attribute(name, context, done); });
}

QJSValue QuickElement::value(const QJSValue& callback) const {
    return textRead(callback, [this](const QObject* context, const TextDone& done) { element_.value(context, done); });
}

QJSValue QuickElement::innerHtml(const QJSValue& callback) const {
    return textRead(callback, [this](const QObject* context, const TextDone& done) { element_.innerHtml(context, done); });
}

QJSValue QuickElement::styleProperty(const QString& name, const QJSValue& callback) const {
    return textRead(callback, [&](const QObject* context, const TextDone& done) { element_.styleProperty(name, context, done); });
}

QJSValue QuickElement::property(const QString& name, const QJSValue& callback) const {
    return readForScript<QVariant>(
        engine_, this, callback, [&](const QObject* context, auto done) { element_.property(name, context, done); },
        [engine = engine_](const QVariant& v) { return asScript(engine, v); });
}

QJSValue QuickElement::backgroundColor(const QJSValue& callback) const {
    return readForScript<QColor>(
        engine_, this, callback, [&](const QObject* context, auto done) { element_.backgroundColor(context, done); },
        [engine = engine_](const QColor& v) { return engine->toScriptValue(v); });
}

QJSValue QuickElement::outcome(const HtmlError& error) const {
    return engine_->toScriptValue(HtmlErrorValue(error));
}

QJSValue QuickElement::setInnerHtml(const QString& html) {
    HtmlError error;
    element_.setInnerHtml(html, &error);
    return outcome(error);
}

QJSValue QuickElement::setStyleProperty(const QString& name, const QString& value) {
    HtmlError error;
    element_.setStyleProperty(name, value, &error);
    return outcome(error);
}

QJSValue QuickElement::setBackgroundColor(const QColor& colour) {
    HtmlError error;
    element_.setBackgroundColor(colour, &error);
    return outcome(error);
}

}  // namespace lumetto::quick
