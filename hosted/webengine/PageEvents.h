#pragma once

#include <QObject>
#include <QVariantMap>

namespace lumetto {

// The host end of the web channel: the page side reports the user's actions here.
class PageEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    void pageEvent(int dispId, const QVariantMap& detail) { emit raised(dispId, detail); }

signals:
    void raised(int dispId, const QVariantMap& detail);
};

}  // namespace lumetto
