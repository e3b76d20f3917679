#include "engine/ControlSettings.h"

namespace lumetto {
namespace {

// Design extents are hundredths of a millimetre.
int extentToPixels(const lumetto::Variant& extent) {
    return qRound(extent.toText().toDouble() / 2540.0 * 96.0);
}

}  // namespace

void ControlSettings::apply(const lumetto::DesignSettings& settings, QSize& size) {
    for (const auto& [key, value] : settings) {
        if (key == QLatin1String("_extentx"))
            size.setWidth(extentToPixels(value));
        else if (key == QLatin1String("_extenty"))
            size.setHeight(extentToPixels(value));
        else if (key == QLatin1String("csshttp"))
            cssFromUrl = value.toBool();
        else if (key == QLatin1String("csstext"))
            cssText = value.toText();
        else if (key == QLatin1String("respondtoevents"))
            respondToEvents = value.toBool();
        else if (key == QLatin1String("allowmouseselect"))
            allowMouseSelect = value.toBool();
        else if (key == QLatin1String("showrightclickclipboardmenu"))
            showClipboardMenu = value.toBool();
    }
}

QJsonArray ControlSettings::steps() const {
    QJsonArray all;
    if (!baseUrl.isEmpty())
        all.append(QJsonArray{QStringLiteral("setBase"), QJsonArray{baseUrl.toString()}});
    all.append(QJsonArray{QStringLiteral("setStyle"), QJsonArray{cssText, cssFromUrl}});
    all.append(QJsonArray{QStringLiteral("setAllowMouseSelect"), QJsonArray{allowMouseSelect}});
    return all;
}

}  // namespace lumetto
