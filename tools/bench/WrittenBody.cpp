#include "WrittenBody.h"

#include <QUrl>

namespace {

// The longest URL the engine loads; setHtml's data: URL is its prefix and the document, percent-encoded.
constexpr qsizetype MaxUrlCharacters = 2 * 1024 * 1024;
constexpr qsizetype DataUrlPrefix = 64;

}  // namespace

QString writtenBody(qsizetype characters) {
    QString html;
    html.reserve(characters + 256);
    for (int i = 0; html.size() < characters; ++i)
        html += QStringLiteral("<p>paragraph %1</p>").arg(i);
    return html + QStringLiteral("<p style='position:fixed;left:%1px;top:%2px;width:%3px;height:%4px;margin:0;background:%5'></p>")
                      .arg(LastParagraphBox.x()).arg(LastParagraphBox.y()).arg(LastParagraphBox.width())
                      .arg(LastParagraphBox.height()).arg(LastParagraphColour.name());
}

bool setHtmlTakes(const QString& document) {
    return QUrl::toPercentEncoding(document.toUtf8()).size() + DataUrlPrefix <= MaxUrlCharacters;
}
