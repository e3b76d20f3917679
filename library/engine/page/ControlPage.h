#pragma once

#include <QWebEnginePage>

#include <functional>

namespace lumetto::engine {

// The engine page of a display control's widget: it asks its control about each navigation
// (EngineView decides), opens no window and keeps the content's console to itself.
class ControlPage : public QWebEnginePage {
    Q_OBJECT
public:
    ControlPage(QWebEngineProfile* profile, std::function<bool(bool mainFrame)> accepts, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                  const QString& source) override;

private:
    std::function<bool(bool mainFrame)> accepts_;
};

// The profile all display controls' widgets share: in memory only, so nothing is written to
// disk, and one network and renderer context for every control in the process.
QWebEngineProfile* sharedProfile();

}  // namespace lumetto::engine
