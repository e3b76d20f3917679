#include "engine/view/ControlSettings.h"

namespace lumetto::engine {
QJsonArray ControlSettings::steps() const {
    QJsonArray all;
    if (!baseUrl.isEmpty())
        all.append(QJsonArray{QStringLiteral("setBase"), QJsonArray{baseUrl.toString()}});
    all.append(QJsonArray{QStringLiteral("setStyle"), QJsonArray{cssText, cssFromUrl}});
    all.append(QJsonArray{QStringLiteral("setAllowMouseSelect"), QJsonArray{allowMouseSelect}});
    return all;
}

}  // namespace lumetto::engine
