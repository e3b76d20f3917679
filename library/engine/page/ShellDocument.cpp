#include "engine/page/ShellDocument.h"

#include "engine/page/EventScheme.h"

#include <QJsonDocument>

namespace lumetto::engine {

ShellDocument::ShellDocument(const QString& files, const QJsonArray& steps) {
    const QString sources = files.isEmpty() ? QStringLiteral("data:") : QStringLiteral("data: %1:").arg(files);
    // The control's script asks its host over the event scheme; the content runs no script.
    const QString policy = QStringLiteral("default-src 'none'; img-src %1; style-src 'unsafe-inline' %1; "
                                          "font-src %1; media-src %1; connect-src %2:")
                               .arg(sources, EventScheme::scheme());
    // "<" never appears in the block's text, so that nothing in it can end the block: JSON
    // has "<" only inside strings, where "\u003c" means the same.
    QString block = QString::fromUtf8(QJsonDocument(steps).toJson(QJsonDocument::Compact));
    block.replace(QLatin1Char('<'), QLatin1String("\\u003c"));
    carried_ = block.size() <= CarriedStepsLimit;
    if (!carried_)
        block = QStringLiteral("[]");
    html_ = QStringLiteral("<html><head><meta http-equiv=\"Content-Security-Policy\" content=\"%1\">"
                           "<base href=\"file:///\"><style></style><link rel=\"stylesheet\">"
                           "<script type=\"application/json\" id=\"lumetto-steps\">%2</script></head><body></body></html>")
                .arg(policy, block);
}

}  // namespace lumetto::engine
