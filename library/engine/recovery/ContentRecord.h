#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <utility>
#include <vector>

namespace lumetto::engine {

// What a control's page shows beyond its shell, kept by the host so that a page loaded anew
// (its page process ended) shows the same: the body as last set (or the document of the file it
// was read from), the markup written into its elements since, and what the user typed or chose
// in its form fields. Elements are named by their place below the body (child indices), which a
// replay in order finds again.
class ContentRecord {
public:
    struct Step {
        QString op;
        QJsonArray args;
    };

    // The body was set: to markup, or, with source, to the whole document read from that file.
    void bodySet(const QString& html, const QUrl& source = {});
    void innerHtmlSet(const QJsonArray& path, const QString& html);
    void fieldChanged(const QJsonArray& path, const QJsonObject& state);

    // The body as last set.
    const QString& body() const { return body_; }
    // The file the body was read from; empty when the host gave the markup.
    const QUrl& source() const { return source_; }
    // The page operations that bring the content back, in order.
    std::vector<Step> replay() const;

private:
    QString body_;
    QUrl source_;
    std::vector<std::pair<QJsonArray, QString>> writes_;
    std::vector<std::pair<QJsonArray, QJsonObject>> fields_;
};

}  // namespace lumetto::engine
