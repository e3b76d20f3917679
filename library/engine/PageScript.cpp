#include "engine/PageScript.h"

#include <lumetto/ErrorCodes.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace lumetto {
namespace {

QString resource(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// {"ObjectNotSet": {"code": 91, "description": "Object variable not set"}, ...}
QString errorTableJson() {
    QJsonObject table;
    for (const lumetto::ErrorEntry& entry : lumetto::ErrorTable) {
        table.insert(QLatin1String(entry.name),
                     QJsonObject{{QStringLiteral("code"), entry.code},
                                 {QStringLiteral("description"), QString::fromUtf8(entry.description)}});
    }
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
                         QStringLiteral("\nconst runtimeErrors = %1;\n").arg(errorTableJson()) +
                         resource(QStringLiteral(":/lumetto/control.js")));
    return script;
}

}  // namespace lumetto
