#include <lumetto/HtmlView.h>

#include <lumetto/HtmlDataMapper.h>

#include "engine/view/HtmlViewPrivate.h"
#include "engine/page/PageElement.h"
#include "engine/page/PageFailure.h"
#include "engine/view/SourceFile.h"

#include <QMetaMethod>
#include <QVBoxLayout>

namespace lumetto {
namespace {

using engine::attempt;
using engine::HtmlViewPrivate;
using engine::PageElement;
using engine::PageFailure;
using engine::SourceFile;

// A view placed without a size of its own, as in Qt Designer.
constexpr QSize DefaultSize(320, 240);

// The document of the view's element handles, through HtmlDocument's constructor for the engine.
class ViewDocument : public HtmlDocument {
public:
    explicit ViewDocument(std::shared_ptr<engine::ElementHandles> handles) : HtmlDocument(std::move(handles)) {}
};

}  // namespace

HtmlView::HtmlView(QWidget* parent) : QWidget(parent), d(std::make_unique<HtmlViewPrivate>(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->view);
    setFocusPolicy(d->view->focusPolicy());
    setFocusProxy(d->view);
    d->errorReceived = [this] { return isSignalConnected(QMetaMethod::fromSignal(&HtmlView::errorOccurred)); };
    d->events->clicksHeard = [this] { return isSignalConnected(QMetaMethod::fromSignal(&HtmlView::clicked)); };
    // The engine's view carries the view's name, so that what finds the page by the view's
    // name (accessibility tools, tests) finds it.
    QWidget* view = d->view;
    connect(this, &QObject::objectNameChanged, view, [view](const QString& name) { view->setObjectName(name); });
    resize(DefaultSize);
}

// The mappers of the view let go of it before what they bind to goes.
HtmlView::~HtmlView() {
    while (!d->mappers.empty())
        d->mappers.back()->setView(nullptr);
}

QSize HtmlView::sizeHint() const {
    return DefaultSize;
}

QString HtmlView::bodyHtml() const {
    return d->record->body();
}

void HtmlView::setBodyHtml(const QString& html) {
    d->attemptWrite("setBodyHtml", [&] { d->setBody("setBodyHtml", html); });
}

QUrl HtmlView::source() const {
    return d->record->source();
}

void HtmlView::setSource(const QUrl& url) {
    d->attemptWrite("setSource", [&] {
        const SourceFile file = SourceFile::read(url);
        d->showDocument(file.html, file.folder, url);
    });
}

QString HtmlView::cssText() const {
    return d->set.cssText;
}

void HtmlView::setCssText(const QString& rules) {
    d->attemptWrite("setCssText", [&] { d->applyStyle("setCssText", rules, d->set.cssFromUrl); });
}

bool HtmlView::cssFromUrl() const {
    return d->set.cssFromUrl;
}

void HtmlView::setCssFromUrl(bool fromUrl) {
    d->attemptWrite("setCssFromUrl", [&] { d->applyStyle("setCssFromUrl", d->set.cssText, fromUrl); });
}

QUrl HtmlView::baseUrl() const {
    return d->set.baseUrl;
}

void HtmlView::setBaseUrl(const QUrl& base) {
    d->attemptWrite("setBaseUrl", [&] { d->applyBase("setBaseUrl", base); });
}

bool HtmlView::mouseSelectEnabled() const {
    return d->set.allowMouseSelect;
}

void HtmlView::setMouseSelectEnabled(bool enabled) {
    d->attemptWrite("setMouseSelectEnabled", [&] {
        d->write("setMouseSelectEnabled", QStringLiteral("setAllowMouseSelect"), {enabled});
        if (enabled == d->set.allowMouseSelect)
            return;
        d->set.allowMouseSelect = enabled;
        emit mouseSelectEnabledChanged(enabled);
    });
}

HtmlError HtmlView::error() const {
    return d->error;
}

HtmlDocument HtmlView::document() const {
    return ViewDocument(d->handles);
}

HtmlElement HtmlView::clickedElement() const {
    return PageElement::handleOf(d->events->clicked());
}

QAction* HtmlView::action(StandardAction which) const {
    return d->menu.action(which);
}

}  // namespace lumetto
