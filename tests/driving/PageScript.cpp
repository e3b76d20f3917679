#include "driving/PageScript.h"

#include "driving/Wait.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <memory>

QVariant evaluateInPage(QWebEngineView* view, const QString& script, int timeoutMs) {
    auto answer = std::make_shared<QVariant>();
    auto answered = std::make_shared<bool>(false);
    view->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld, [answer, answered](const QVariant& v) {
        *answer = v;
        *answered = true;
    });
    if (!waitFor([&] { return *answered; }, timeoutMs))
        qWarning("the page did not answer within %d ms: %s", timeoutMs, qPrintable(script.left(80)));
    return *answer;
}

QString scriptString(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}
