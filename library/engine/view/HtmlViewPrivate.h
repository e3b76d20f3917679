#pragma once

#include "engine/recovery/ContentRecord.h"
#include "engine/view/ControlEvents.h"
#include "engine/view/ControlSettings.h"
#include "engine/page/ElementHandles.h"
#include "engine/page/EngineView.h"
#include "engine/page/PageCalls.h"
#include "engine/page/PageEvents.h"
#include "engine/recovery/RestoreWatch.h"
#include "engine/page/ShellStart.h"

#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlError.h>

#include <QJsonArray>

#include <functional>
#include <memory>
#include <vector>

namespace lumetto::engine {

// Everything behind a view, whichever its face (the widget HtmlView, the Qt Quick item): the
// page's calls and events, its properties, what it shows, and how it comes back after its page
// process ended. The face gives it the engine's view of its kind, and emits the signals here
// as its own.
class LUMETTO_CONTROL_EXPORT HtmlViewPrivate : public QObject {
    Q_OBJECT
public:
    // q is the face, engine its engine view (a child of q).
    HtmlViewPrivate(QObject* q, EngineView* engine);
    ~HtmlViewPrivate() override;

    // The private side of a view (of either face), for the library's other classes.
    static HtmlViewPrivate* of(const QObject* view);

    // The view's properties, as the faces write them; a failure is reported (errorOccurred()).
    void setBodyHtml(const QString& html);
    void setSource(const QUrl& url);
    void setCssText(const QString& rules);
    void setCssFromUrl(bool fromUrl);
    void setBaseUrl(const QUrl& base);
    void setMouseSelectEnabled(bool enabled);
    HtmlDocument document() const;
    HtmlElement clickedElement() const;
    // Lets the mappers bound to the view go, before the view goes.
    void releaseMappers();

    void loadShell();
    // What the page is to show beyond the shell, as page operations in order.
    QJsonArray steps() const;
    void shellLoaded(bool ok);
    void pageProcessEnded(int status, int exitCode);
    void restartAfterCrash();
    // The page lost its shell, its page process alive: to another document, or as the shell
    // failed to load. The control loads its shell again, as after a crash; the content did not
    // end the page process, so the crash-loop guard does not judge it.
    void restoreShell();
    // Tells the host of what no call of its returns (a failure, content discarded), once the
    // engine's callback or the channel's message that told of it has returned, so that a slot
    // may do anything, even delete the view.
    void tellHost(std::function<void()> tell);
    // Reports a failure no call returns, from the event loop.
    void report(const HtmlError& failure);
    // Reports a failure now: error holds it, and errorOccurred() tells of it, or, without a
    // receiver, Qt's log.
    void reportNow(const HtmlError& failure);
    // Runs the work of a property write; its failure is reported now, before the write returns.
    void attemptWrite(const char* call, const std::function<void()>& work);
    // A write reaches the page now; or, while the view keeps writes for its loading shell,
    // later with the shell (false). Fails with a PageFailure when the page refuses it.
    bool write(const char* call, const QString& op, const QJsonArray& args);
    void applyStyle(const char* call, const QString& text, bool fromUrl);
    void applyBase(const char* call, const QUrl& url);
    // Shows the body given as markup; fails with a PageFailure when the page refuses it.
    void setBody(const char* call, const QString& html);
    // The body the page now shows, given as markup.
    void bodyShown(const QString& html);
    // Shows the document read from the file source, with the file's folder as base location.
    void showDocument(const QString& html, const QUrl& folder, const QUrl& source);

    QObject* q;
    EngineView* engine;
    QString ensureScript;  // the page side, for a load the engine did not inject it into
    QString shellFiles;  // the scheme of the files the shell lets the content load, empty for none
    QJsonArray carriedSteps;  // what the loading shell carries
    ControlSettings set;
    PageEvents pageEvents;
    std::shared_ptr<PageCalls> calls;
    std::shared_ptr<ContentRecord> record;
    std::shared_ptr<ElementHandles> handles;
    std::unique_ptr<ControlEvents> events;
    std::unique_ptr<ShellStart> start;
    // What a screen reader calls the page's document. Each page is given it once it has loaded,
    // so that a name that comes while the page loads does not make it carry its content again.
    QString documentName;
    // The page operations of the data binding the page shows (HtmlDataMapper), after the
    // content's, made anew for each page loaded; and the mapper they are of.
    std::function<QJsonArray()> boundSteps;
    const QObject* binder = nullptr;
    HtmlError error;  // the last failure reported
    // The mappers whose view this is (HtmlDataMapper::setView()); the view lets them go before
    // it goes.
    std::vector<HtmlDataMapper*> mappers;
    // Whether a slot receives the view's errorOccurred(), which only the view itself can tell.
    std::function<bool()> errorReceived;
    bool restarted = false;  // the page process ended: the next shell is a restarted page
    RestoreWatch watch;

signals:
    void bodyHtmlChanged(const QString& html);
    void sourceChanged(const QUrl& url);
    void cssTextChanged(const QString& rules);
    void cssFromUrlChanged(bool fromUrl);
    void baseUrlChanged(const QUrl& base);
    void mouseSelectEnabledChanged(bool enabled);
    void contentDiscarded();
    void errorOccurred(const lumetto::HtmlError& error);
};

}  // namespace lumetto::engine
