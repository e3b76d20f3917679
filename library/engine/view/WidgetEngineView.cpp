#include "engine/view/WidgetEngineView.h"

#include "engine/accessibility/ControlAccessibility.h"
#include "engine/accessibility/FocusOrder.h"
#include "engine/page/ControlPage.h"
#include "engine/recovery/RestartedPainter.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWebEngineHistory>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace lumetto::engine {

WidgetEngineView::WidgetEngineView(HtmlView* view)
    : EngineView(view), view_(accessibleView(view)),
      page_(new ControlPage(sharedProfile(), [this](bool mainFrame) { return acceptsNavigation(mainFrame); }, view_)),
      menu_(view, [this](HtmlView::CopyFormat format) { emit copyRequested(format); }) {
    page_->setUrlRequestInterceptor(files());
    view_->setPage(page_);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setFocusPolicy(Qt::StrongFocus);
    // Until the shell starts, the view shows what an empty page shows.
    view_->setAutoFillBackground(true);
    QPalette empty = view_->palette();
    empty.setColor(QPalette::Window, Qt::white);
    view_->setPalette(empty);
    view_->installEventFilter(this);
    connect(page_, &QWebEnginePage::urlChanged, this, &WidgetEngineView::urlChanged);
    connect(page_, &QWebEnginePage::loadFinished, this, &WidgetEngineView::loadFinished);
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) { processTerminated(status, exitCode); });
    // Nothing to go back to: the control shows only its shell.
    connect(this, &EngineView::shellLoaded, page_, [this] { page_->history()->clear(); });
    keepPainterInFocusOrder(view_);
    documentNamer_ = std::make_unique<DocumentName>(view, [this](const QString& name) { emit documentNamed(name); });
}

void WidgetEngineView::runScript(const QString& script, std::function<void(const QVariant&)> done) {
    if (done)
        page_->runJavaScript(script, QWebEngineScript::ApplicationWorld, std::move(done));
    else
        page_->runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

qint64 WidgetEngineView::renderProcessPid() const {
    return page_->renderProcessPid();
}

void WidgetEngineView::installPageSide(const QWebEngineScript& script, QObject* host) {
    page_->scripts().insert(script);
    channel_.registerObject(QStringLiteral("control"), host);
    page_->setWebChannel(&channel_, QWebEngineScript::ApplicationWorld);
}

void WidgetEngineView::loadHtml(const QString& html, const QUrl& baseUrl) {
    page_->setHtml(html, baseUrl);
}

bool WidgetEngineView::isShown() const {
    return view_->isVisible();
}

void WidgetEngineView::showPage() {
    page_->setVisible(view_->isVisible());
}

void WidgetEngineView::pageRestarted() {
    paintRestartedPage(view_);
}

bool WidgetEngineView::windowBlocked() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != view_->window();
}

void WidgetEngineView::openMenu(const QPoint& at) {
    menu_.popup(view_, at);
}

bool WidgetEngineView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view_)
        return false;
    if (event->type() == QEvent::Polish || event->type() == QEvent::Show)
        emit showing(event->type() == QEvent::Show);
    // While held, the view's own show and hide handlers, which tell the page, do not run.
    const bool showOrHide = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    return showOrHide && visibilityHeld();
}

}  // namespace lumetto::engine
