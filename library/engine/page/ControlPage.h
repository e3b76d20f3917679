#pragma once

#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

namespace lumetto::engine {

// The scheme of the files below a base location: "file" for a local directory, "qrc" for a
// folder of the application's Qt resources; empty for any other location, which has none.
QString filesScheme(const QUrl& base);

// Lets a page load nothing but data it was given and files below one directory (local or of
// the Qt resources), local files by where they really are: no network.
class LocalFilesOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void setRoot(const QUrl& directory) { root_ = directory; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    bool isBelowRoot(const QUrl& url) const;

    QUrl root_;
};

// The page of a display control: it shows only what the control gives it, so every navigation
// but the control's own load of its shell is refused (links, form submissions, new windows).
// The engine does not ask about every navigation: a link to an address it cannot read (an SVG
// link to http://[::1, say) takes the page to an empty document without asking. The page
// tells when a document other than its shell has replaced the shell.
class ControlPage : public QWebEnginePage {
    Q_OBJECT
public:
    ControlPage(QWebEngineProfile* profile, QObject* parent);

    // Loads the shell document, the one navigation the page accepts.
    void loadShell(const QString& html, const QUrl& baseUrl);
    void setFileRoot(const QUrl& directory) { files_.setRoot(directory); }

signals:
    // The shell's load ended; the ends of navigations the page refused are not reported.
    void shellLoaded(bool ok);
    // Another document replaced the loaded shell; told once until the shell loads again.
    void shellLeft();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;

private:
    void leftShell();

    LocalFilesOnly files_;
    QUrl shellUrl_;
    bool loadingShell_ = false;
    bool left_ = false;
};

// The profile all display controls share: in memory only, so nothing is written to disk, and
// one network and renderer context for every control in the process.
QWebEngineProfile* sharedProfile();

}  // namespace lumetto::engine
