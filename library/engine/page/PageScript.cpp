#include "engine/page/PageScript.h"

#include <lumetto/HtmlError.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumetto::engine {
namespace {

QString resource(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// The failures the page names, by the kind of HtmlError each is, with the description of one
// that gives none of its own: {"ElementGone": {"code": 2, "description": ...}, ...}.
QString failureTableJson() {
    const auto entry = [](HtmlError::Type type, const char* description) {
        return QJsonObject{{QStringLiteral("code"), type}, {QStringLiteral("description"), QString::fromUtf8(description)}};
    };
    const QJsonObject table{
        {QStringLiteral("ElementGone"), entry(HtmlError::ElementGone, "the element no longer exists in the page")},
        {QStringLiteral("NoSuchProperty"), entry(HtmlError::NoSuchProperty, "the element has no property of that name")},
    };
    return QString::fromUtf8(QJsonDocument(table).toJson(QJsonDocument::Compact));
}

}  // namespace

QWebEngineScript pageScript() {
    QWebEngineScript script;
    script.setName(QStringLiteral("lumetto-control"));
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(false);
    // The parts share one function scope, in this order: each part's statements that run as
    // the script loads use only what the parts before it declare.
    QString parts;
    for (const char* part : {"calls", "menu", "binding", "events", "restore"})
        parts += resource(QStringLiteral(":/lumetto/script/%1.js").arg(QLatin1String(part)));
    script.setSourceCode(resource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) +
                         QStringLiteral("\nconst pageFailures = %1;\n(function () {\n'use strict';\n%2})();\n")
                             .arg(failureTableJson(), parts));
    return script;
}

}  // namespace lumetto::engine
