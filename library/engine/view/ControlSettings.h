#pragma once

#include <QJsonArray>
#include <QString>
#include <QUrl>

namespace lumetto::engine {

// What the host set on a control, kept so that a page loaded anew shows the same again.
struct ControlSettings {
    QUrl baseUrl;
    QString cssText;
    bool cssFromUrl = false;
    bool allowMouseSelect = true;

    // The page operations that give a page these settings, in order.
    QJsonArray steps() const;
};

}  // namespace lumetto::engine
