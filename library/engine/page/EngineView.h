#pragma once

#include "engine/page/LocalFiles.h"

#include <lumetto/Global.h>

#include <QObject>
#include <QPoint>
#include <QUrl>
#include <QVariant>

#include <functional>

class QWebEngineScript;

namespace lumetto::engine {

// The engine's view and page of one control, as the engine behind the control's faces (the
// widget, the Qt Quick item) drives them: each face has one implementation, which wraps its own
// kind of engine view. What a control's page may do is decided here, once for both: it loads
// its shell and nothing else (links, form submissions and new windows are refused), and loads
// no file from outside its files' root. The engine does not ask about every navigation: a link
// to an address it cannot read (an SVG link to http://[::1, say) takes the page to an empty
// document without asking; shellLeft() tells of a document other than the shell that replaced
// it.
class LUMETTO_CONTROL_EXPORT EngineView : public QObject {
    Q_OBJECT
public:
    // How a page process ended, numbered as both of the engine's views number it.
    enum ProcessEnd { NormalEnd, AbnormalEnd, Crashed, Killed };

    using QObject::QObject;

    // Runs script in the control's own script world; done, when given, receives its value, or
    // an invalid one when the page could not run it.
    virtual void runScript(const QString& script, std::function<void(const QVariant&)> done = {}) = 0;
    virtual qint64 renderProcessPid() const = 0;
    // Gives every document the page loads the control's page script, in the control's world,
    // and a web channel in that world on which the page side reports to host (as `control`).
    virtual void installPageSide(const QWebEngineScript& script, QObject* host) = 0;

    // Whether the view is shown on the screen, where the page draws.
    virtual bool isShown() const = 0;
    // Tells the page whether the view shows, which makes the engine start drawing it.
    virtual void showPage() = 0;
    // While held, the view's showing and hiding are not told to the page.
    void holdVisibility(bool hold) { visibilityHeld_ = hold; }
    // The page a restarted page process loaded has loaded: what the face does so that it draws.
    virtual void pageRestarted() {}
    // Whether a modal window keeps the user from the view's window.
    virtual bool windowBlocked() const = 0;
    // Opens the view's menu at a point of the view, unless it has no entry to show.
    virtual void openMenu(const QPoint& at) = 0;

    // Loads the shell document, the one navigation the page accepts.
    void loadShell(const QString& html, const QUrl& baseUrl);
    // The directory below which the page loads files (LocalFilesOnly).
    void setFileRoot(const QUrl& directory) { files_.setRoot(directory); }

signals:
    // The shell's load ended; the ends of navigations the page refused are not reported.
    void shellLoaded(bool ok);
    // Another document replaced the loaded shell; told once until the shell loads again.
    void shellLeft();
    // The page process ended (a ProcessEnd, the exit code or signal).
    void processEnded(int status, int exitCode);
    // The view begins to show (a window polishes its children some way ahead of showing
    // them), or shows.
    void showing(bool shown);
    // The user asked for a copy of the page's selection (a clipboard action of the face's own).
    void copyRequested(int format);
    // The name a screen reader gives the page's document, where the face knows one.
    void documentNamed(const QString& name);

protected:
    // The face's engine loads html with baseUrl.
    virtual void loadHtml(const QString& html, const QUrl& baseUrl) = 0;

    // What the face's engine reports, handed on here.
    bool acceptsNavigation(bool mainFrame) const { return mainFrame && loadingShell_; }
    void urlChanged(const QUrl& url);
    void loadFinished(bool ok);
    void processTerminated(int status, int exitCode);
    bool visibilityHeld() const { return visibilityHeld_; }
    LocalFilesOnly* files() { return &files_; }

private:
    void leftShell();

    LocalFilesOnly files_;
    QUrl shellUrl_;
    bool loadingShell_ = false;
    bool left_ = false;
    bool visibilityHeld_ = false;
};

}  // namespace lumetto::engine
