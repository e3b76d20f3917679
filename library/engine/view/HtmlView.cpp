#include <lumetto/HtmlView.h>

#include <lumetto/HtmlDataMapper.h>

#include "engine/view/HtmlViewPrivate.h"
#include "engine/view/WidgetEngineView.h"

#include <QMetaMethod>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace lumetto {
namespace {

using engine::HtmlViewPrivate;
using engine::WidgetEngineView;

// A view placed without a size of its own, as in Qt Designer.
constexpr QSize DefaultSize(320, 240);

}  // namespace

HtmlView::HtmlView(QWidget* parent) : QWidget(parent), d(std::make_unique<HtmlViewPrivate>(this, new WidgetEngineView(this))) {
    QWidget* view = static_cast<WidgetEngineView*>(d->engine)->widget();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    setFocusPolicy(view->focusPolicy());
    setFocusProxy(view);
    d->errorReceived = [this] { return isSignalConnected(QMetaMethod::fromSignal(&HtmlView::errorOccurred)); };
    connect(d.get(), &HtmlViewPrivate::bodyHtmlChanged, this, &HtmlView::bodyHtmlChanged);
    connect(d.get(), &HtmlViewPrivate::sourceChanged, this, &HtmlView::sourceChanged);
    connect(d.get(), &HtmlViewPrivate::cssTextChanged, this, &HtmlView::cssTextChanged);
    connect(d.get(), &HtmlViewPrivate::cssFromUrlChanged, this, &HtmlView::cssFromUrlChanged);
    connect(d.get(), &HtmlViewPrivate::baseUrlChanged, this, &HtmlView::baseUrlChanged);
    connect(d.get(), &HtmlViewPrivate::mouseSelectEnabledChanged, this, &HtmlView::mouseSelectEnabledChanged);
    connect(d.get(), &HtmlViewPrivate::contentDiscarded, this, &HtmlView::contentDiscarded);
    connect(d.get(), &HtmlViewPrivate::errorOccurred, this, &HtmlView::errorOccurred);
    connect(d->events.get(), &engine::ControlEvents::elementClicked, this, &HtmlView::clicked);
    connect(d->events.get(), &engine::ControlEvents::aboutToCopy, this, &HtmlView::aboutToCopy);
    connect(d->events.get(), &engine::ControlEvents::copied, this, &HtmlView::copied);
    // The engine's view carries the view's name, so that what finds the page by the view's
    // name (accessibility tools, tests) finds it.
    connect(this, &QObject::objectNameChanged, view, [view](const QString& name) { view->setObjectName(name); });
    resize(DefaultSize);
}

// The mappers of the view let go of it before what they bind to goes.
HtmlView::~HtmlView() {
    d->releaseMappers();
}

QSize HtmlView::sizeHint() const {
    return DefaultSize;
}

QString HtmlView::bodyHtml() const {
    return d->record->body();
}

void HtmlView::setBodyHtml(const QString& html) {
    d->setBodyHtml(html);
}

QUrl HtmlView::source() const {
    return d->record->source();
}

void HtmlView::setSource(const QUrl& url) {
    d->setSource(url);
}

QString HtmlView::cssText() const {
    return d->set.cssText;
}

void HtmlView::setCssText(const QString& rules) {
    d->setCssText(rules);
}

bool HtmlView::cssFromUrl() const {
    return d->set.cssFromUrl;
}

void HtmlView::setCssFromUrl(bool fromUrl) {
    d->setCssFromUrl(fromUrl);
}

QUrl HtmlView::baseUrl() const {
    return d->set.baseUrl;
}

void HtmlView::setBaseUrl(const QUrl& base) {
    d->setBaseUrl(base);
}

bool HtmlView::mouseSelectEnabled() const {
    return d->set.allowMouseSelect;
}

void HtmlView::setMouseSelectEnabled(bool enabled) {
    d->setMouseSelectEnabled(enabled);
}

HtmlError HtmlView::error() const {
    return d->error;
}

HtmlDocument HtmlView::document() const {
    return d->document();
}

HtmlElement HtmlView::clickedElement() const {
    return d->clickedElement();
}

QAction* HtmlView::action(StandardAction which) const {
    return static_cast<WidgetEngineView*>(d->engine)->menu().action(which);
}

}  // namespace lumetto
