#pragma once

#include "engine/recovery/ContentRecord.h"
#include "engine/view/ControlEvents.h"
#include "engine/view/ControlMenu.h"
#include "engine/page/ControlPage.h"
#include "engine/view/ControlSettings.h"
#include "engine/accessibility/DocumentName.h"
#include "engine/page/ElementHandles.h"
#include "engine/page/PageCalls.h"
#include "engine/page/PageEvents.h"
#include "engine/recovery/RestoreWatch.h"
#include "engine/page/ShellStart.h"

#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <QJsonArray>
#include <QWebChannel>
#include <QWebEngineView>

#include <functional>
#include <memory>
#include <vector>

namespace lumetto::engine {

// Everything behind an HtmlView: the engine's view and page, the page's calls and events, what
// the view shows, and how it comes back after its page process ended.
class HtmlViewPrivate : public QObject {
public:
    explicit HtmlViewPrivate(HtmlView* q);
    ~HtmlViewPrivate() override;

    // The private side of a view, for the library's other classes.
    static HtmlViewPrivate* of(const HtmlView* view);

    void loadShell();
    // What the page is to show beyond the shell, as page operations in order.
    QJsonArray steps() const;
    void shellLoaded(bool ok);
    void pageProcessEnded(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);
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

    HtmlView* q;
    QWebEngineView* view;
    ControlPage* page;
    QString ensureScript;  // the page side, for a load the engine did not inject it into
    QString shellFiles;  // the scheme of the files the shell lets the content load, empty for none
    QJsonArray carriedSteps;  // what the loading shell carries
    ControlSettings set;
    QWebChannel channel;
    std::shared_ptr<PageCalls> calls;
    PageEvents pageEvents;
    std::shared_ptr<ContentRecord> record;
    std::shared_ptr<ElementHandles> handles;
    std::unique_ptr<ControlEvents> events;
    ControlMenu menu;
    std::unique_ptr<ShellStart> start;
    // What a screen reader calls the page's document. Each page is given it once it has loaded,
    // so that a name that comes while the page loads does not make it carry its content again.
    QString documentName;
    std::unique_ptr<DocumentName> documentNamer;
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
};

}  // namespace lumetto::engine
