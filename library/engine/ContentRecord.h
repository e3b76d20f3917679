#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <utility>
#include <vector>

namespace lumetto {

// What a control's page shows beyond its shell, kept by the host so that a page loaded anew
// (its page process ended) shows the same: the body as last set, the markup written into its
// elements since, and what the user typed or chose in its form fields. Elements are named by
// their place below the body (child indices), which a replay in order finds again.
class ContentRecord {
public:
    struct Step {
        QString op;
        QJsonArray args;
    };

    void bodySet(const QString& html);
    void innerHtmlSet(const QJsonArray& path, const QString& html);
    void fieldChanged(const QJsonArray& path, const QJsonObject& state);

    // The body as last set.
    const QString& body() const { return body_; }
    // The page operations that bring the content back, in order.
    std::vector<Step> replay() const;

private:
    QString body_;
    std::vector<std::pair<QJsonArray, QString>> writes_;
    std::vector<std::pair<QJsonArray, QJsonObject>> fields_;
};

}  // namespace lumetto
