#pragma once

#include <lumetto/HtmlDocument.h>

#include <QJSValue>
#include <QObject>
#include <QtQml/qqmlregistration.h>

class QJSEngine;

namespace lumetto::quick {

// The document a view shows, as QML reads it (HtmlDocument). Each read returns at once and hands
// its value later, from the event loop, to the callback given, `function (value, error)`, and to
// the promise it returns; never while the call runs, and never blocking the scene.
class QuickDocument : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(HtmlDocument)
    QML_UNCREATABLE("a view's document is its document property")

public:
    QuickDocument(const HtmlDocument& document, QJSEngine* engine, QObject* parent);

    /// The body element.
    Q_INVOKABLE QJSValue body(const QJSValue& callback = QJSValue()) const;
    /// Every element of the document, in document order.
    Q_INVOKABLE QJSValue elements(const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue selectedText(const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue hasSelectedControls(const QJSValue& callback = QJSValue()) const;
    Q_INVOKABLE QJSValue selectedHtml(const QJSValue& callback = QJSValue()) const;
    /// The markup of the whole document.
    Q_INVOKABLE QJSValue source(const QJSValue& callback = QJSValue()) const;

private:
    HtmlDocument document_;
    QJSEngine* engine_;
};

}  // namespace lumetto::quick
