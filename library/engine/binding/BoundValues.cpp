#include "engine/binding/BoundValues.h"

#include <QByteArray>
#include <QJsonObject>
#include <QLocale>
#include <QStyledItemDelegate>

namespace lumetto::engine {
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

QJsonValue image(const QByteArray& bytes) {
    const QString type = imageType(bytes);
    if (type.isEmpty())
        return QJsonObject{{QStringLiteral("image"), QJsonValue::Null}};
    return QJsonObject{{QStringLiteral("image"), QStringLiteral("data:%1;base64,%2").arg(type, QString::fromLatin1(bytes.toBase64()))}};
}

bool isNull(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

QJsonValue displayText(const QVariant& value, const QLocale& locale) {
    if (isNull(value))
        return QJsonValue::Null;
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    static const QStyledItemDelegate views;
    return views.displayText(value, locale);
}

QJsonValue editText(const QVariant& value) {
    return isNull(value) ? QJsonValue(QJsonValue::Null) : QJsonValue(value.toString());
}

}  // namespace

QJsonValue boundCell(const CellValues& cell, const QLocale& locale) {
    if (cell.edit.typeId() == QMetaType::QByteArray)
        return image(cell.edit.toByteArray());
    const QJsonValue text = displayText(cell.display, locale);
    const QJsonValue edit = editText(cell.edit);
    if (text == edit && cell.editable && !cell.refused && !cell.pending)
        return text;
    QJsonObject sent{{QStringLiteral("text"), text}, {QStringLiteral("edit"), edit}};
    if (!cell.editable)
        sent.insert(QStringLiteral("readOnly"), true);
    if (cell.refused)
        sent.insert(QStringLiteral("refused"), true);
    if (cell.pending)
        sent.insert(QStringLiteral("pending"), true);
    return sent;
}

}  // namespace lumetto::engine
