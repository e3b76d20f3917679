#include "engine/BoundValues.h"

#include <QByteArray>
#include <QJsonObject>

namespace lumetto {
namespace {

// The image type the bytes begin with, by their signature; empty for anything else.
QString imageType(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("image/png");
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("image/jpeg");
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return QStringLiteral("image/gif");
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return QStringLiteral("image/webp");
    return {};
}

}  // namespace

QJsonValue boundValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QJsonValue::Null;
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        const QString type = imageType(bytes);
        if (type.isEmpty())
            return QJsonObject{{QStringLiteral("image"), QJsonValue::Null}};
        return QJsonObject{{QStringLiteral("image"), QStringLiteral("data:%1;base64,%2").arg(type, QString::fromLatin1(bytes.toBase64()))}};
    }
    return value.toString();
}

}  // namespace lumetto
