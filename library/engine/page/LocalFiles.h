#pragma once

#include <lumetto/Global.h>

#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

namespace lumetto::engine {

// The scheme of the files below a base location: "file" for a local directory, "qrc" for a
// folder of the application's Qt resources; empty for any other location, which has none.
QString filesScheme(const QUrl& base);

// Lets a page load nothing but data it was given and files below one directory (local or of
// the Qt resources), local files by where they really are: no network.
class LUMETTO_CONTROL_EXPORT LocalFilesOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void setRoot(const QUrl& directory) { root_ = directory; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    bool isBelowRoot(const QUrl& url) const;

    QUrl root_;
};

}  // namespace lumetto::engine
