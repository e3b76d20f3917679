#include "engine/PageScript.h"

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
        {QStringLiteral("ElementGone"), entry(HtmlError::ElementGone, "Object variable not set")},
        {QStringLiteral("NoSuchProperty"), entry(HtmlError::NoSuchProperty, "Object doesn't support this property or method")},
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
    script.setSourceCode(resource(QStringLiteral(":/qtwebchannel/qwebchannel.js")) +
                         QStringLiteral("\nconst pageFailures = %1;\n").arg(failureTableJson()) +
                         resource(QStringLiteral(":/lumetto/control.js")));
    return script;
}

}  // namespace lumetto::engine
