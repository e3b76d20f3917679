#pragma once

#include <QJsonValue>
#include <QVariant>

namespace lumetto {

// A model's value as the page shows it: null for NULL; a BLOB (QByteArray) as
// {"image": data URL}, the URL null unless its bytes are a PNG, JPEG, GIF or WebP image;
// anything else as its text (QVariant::toString()).
QJsonValue boundValue(const QVariant& value);

}  // namespace lumetto
