#pragma once

#include <lumetto/HtmlElement.h>

#include <QColor>
#include <QJSValue>
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <functional>

class QJSEngine;

namespace lumetto::quick {

// An element of the page, as QML holds it (HtmlElement). Its reads return at once and hand
// their value later to the callback given, `function (value, error)`, and to the promise they
// return. Its writes return the failure, or an invalid error; a style write returns at once,
// an inner HTML write once the page shows it.
class QuickElement : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(HtmlElement)
    QML_UNCREATABLE("elements come from the view: its document, clicked()")
    /// Whether the element is of no page (a click on nothing).
    Q_PROPERTY(bool isNull READ isNull CONSTANT FINAL)
    /// The element's tag name, upper case ("DIV").
    Q_PROPERTY(QString tagName READ tagName CONSTANT FINAL)

public:
    QuickElement(const HtmlElement& element, QJSEngine* engine);

    // Hands QML a new element object of element, owned by the script engine.
    static QJSValue toScript(QJSEngine* engine, const HtmlElement& element);

    const HtmlElement& element() const { return element_; }
    bool isNull() const { return element_.isNull(); }
    QString tagName() const { return element_.tagName(); }

    Q_INVOKABLE bool sameAs(lumetto::quick::QuickElement* other) const;
    Q_INVOKABLE QJSValue id(const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue attribute(const QString& name, const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue value(const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue property(const QString& name, const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue innerHtml(const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue styleProperty(const QString& name, const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue backgroundColor(const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue setInnerHtml(const QString& html);
    Q_INVOKABLE QJSValue setStyleProperty(const QString& name, const QString& value);
    Q_INVOKABLE QJSValue setBackgroundColor(const QColor& colour);

private:
    using TextDone = std::function<void(const QString&, const HtmlError&)>;
    using TextRead = std::function<void(const QObject*, const TextDone&)>;
    // A read of text, start(context, done), for QML.
    QJSValue textRead(const QJSValue& callback, const TextRead& start) const;
    // What a write returns: its failure, or an invalid error.
    QJSValue outcome(const HtmlError& error) const;

    HtmlElement element_;
    QJSEngine* engine_;
};

}  // namespace lumetto::quick
