#include "HtmlViewItem.h"

#include "QuickDocument.h"
#include "QuickElement.h"
#include "QuickEngineView.h"

#include "engine/view/HtmlViewPrivate.h"

#include <QMetaMethod>

#include <algorithm>
#include <QQmlComponent>
#include <QQmlEngine>

namespace lumetto::quick {
namespace {

// The menu, filled with the entries shown, opens at a point; it goes once closed.
constexpr char MenuQml[] = R"(
import QtQuick.Controls
Menu {
    objectName: "controlMenu"
    function show(entries, x, y) {
        for (const entry of entries) {
            if (entry.visible !== false)
                addAction(entry)
        }
        popup(x, y)
    }
}
)";

QObject* make(QQmlEngine* engine, QObject* parent, const QByteArray& qml) {
    QQmlComponent component(engine);
    component.setData(qml, QUrl());
    QObject* made = component.create(qmlContext(parent));
    if (!made)
        qFatal("Lumetto: %s", qPrintable(component.errorString()));
    made->setParent(parent);
    return made;
}

}  // namespace

HtmlViewItem::HtmlViewItem(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemHasContents, false);
}

// The mappers of the view let go of it before what they bind to goes.
HtmlViewItem::~HtmlViewItem() {
    if (d)
        d->releaseMappers();
}

void HtmlViewItem::classBegin() {
    QQuickItem::classBegin();
    QQmlEngine* qml = qmlEngine(this);
    engine_ = new QuickEngineView(this);
    d = std::make_unique<engine::HtmlViewPrivate>(this, engine_);
    document_ = new QuickDocument(d->document(), qml, this);
    d->errorReceived = [this] { return isSignalConnected(QMetaMethod::fromSignal(&HtmlViewItem::errorOccurred)); };
    connect(d.get(), &engine::HtmlViewPrivate::bodyHtmlChanged, this, &HtmlViewItem::bodyHtmlChanged);
    connect(d.get(), &engine::HtmlViewPrivate::sourceChanged, this, &HtmlViewItem::sourceChanged);
    connect(d.get(), &engine::HtmlViewPrivate::cssTextChanged, this, &HtmlViewItem::cssTextChanged);
    connect(d.get(), &engine::HtmlViewPrivate::cssFromUrlChanged, this, &HtmlViewItem::cssFromUrlChanged);
    connect(d.get(), &engine::HtmlViewPrivate::baseUrlChanged, this, &HtmlViewItem::baseUrlChanged);
    connect(d.get(), &engine::HtmlViewPrivate::mouseSelectEnabledChanged, this, &HtmlViewItem::mouseSelectEnabledChanged);
    connect(d.get(), &engine::HtmlViewPrivate::contentDiscarded, this, &HtmlViewItem::contentDiscarded);
    connect(d.get(), &engine::HtmlViewPrivate::errorOccurred, this,
            [this](const HtmlError& error) { emit errorOccurred(HtmlErrorValue(error)); });
    connect(d->events.get(), &engine::ControlEvents::elementClicked, this, [this, qml](const HtmlElement& element, Qt::MouseButton button) {
        auto* clickedOn = new QuickElement(element, qml);
        QQmlEngine::setObjectOwnership(clickedOn, QQmlEngine::JavaScriptOwnership);
        emit clicked(clickedOn, button);
    });
    connect(d->events.get(), &engine::ControlEvents::aboutToCopy, this,
            [this](HtmlView::CopyFormat format) { emit aboutToCopy(static_cast<CopyFormat>(format)); });
    connect(d->events.get(), &engine::ControlEvents::copied, this,
            [this](HtmlView::CopyFormat format) { emit copied(static_cast<CopyFormat>(format)); });
    connect(engine_, &QuickEngineView::menuRequested, this, &HtmlViewItem::openMenu);

    const QByteArray copyAction("import Lumetto\nHtmlViewAction { text: \"%1\" }");
    copyActions_[PlainText] = make(qml, this, QByteArray(copyAction).replace("%1", "Copy as Text"));
    copyActions_[Html] = make(qml, this, QByteArray(copyAction).replace("%1", "Copy as HTML"));
    for (const CopyFormat format : {PlainText, Html})
        connect(copyActions_[format], SIGNAL(triggered()), this, format == PlainText ? SLOT(copyAsText()) : SLOT(copyAsHtml()));
}

void HtmlViewItem::copyAsText() {
    emit engine_->copyRequested(PlainText);
}

void HtmlViewItem::copyAsHtml() {
    emit engine_->copyRequested(Html);
}

void HtmlViewItem::openMenu(const QPoint& at) {
    QList<QObject*> entries{copyActions_[PlainText], copyActions_[Html]};
    entries += actions_;
    const bool anyShown = std::any_of(entries.begin(), entries.end(), [](const QObject* entry) {
        return entry->property("visible").isNull() || entry->property("visible").toBool();
    });
    if (!anyShown)
        return;
    QObject* menu = make(qmlEngine(this), this, MenuQml);
    menu->setProperty("parent", QVariant::fromValue<QQuickItem*>(this));
    connect(menu, SIGNAL(closed()), menu, SLOT(deleteLater()));
    QMetaObject::invokeMethod(menu, "show", Q_ARG(QVariant, QVariant::fromValue(entries)), Q_ARG(QVariant, at.x()), Q_ARG(QVariant, at.y()));
}

QString HtmlViewItem::bodyHtml() const {
    return d->record->body();
}

void HtmlViewItem::setBodyHtml(const QString& html) {
    d->setBodyHtml(html);
}

QUrl HtmlViewItem::source() const {
    return d->record->source();
}

void HtmlViewItem::setSource(const QUrl& url) {
    d->setSource(url);
}

QString HtmlViewItem::cssText() const {
    return d->set.cssText;
}

void HtmlViewItem::setCssText(const QString& rules) {
    d->setCssText(rules);
}

bool HtmlViewItem::cssFromUrl() const {
    return d->set.cssFromUrl;
}

void HtmlViewItem::setCssFromUrl(bool fromUrl) {
    d->setCssFromUrl(fromUrl);
}

QUrl HtmlViewItem::baseUrl() const {
    return d->set.baseUrl;
}

void HtmlViewItem::setBaseUrl(const QUrl& base) {
    d->setBaseUrl(base);
}

bool HtmlViewItem::mouseSelectEnabled() const {
    return d->set.allowMouseSelect;
}

void HtmlViewItem::setMouseSelectEnabled(bool enabled) {
    d->setMouseSelectEnabled(enabled);
}

HtmlErrorValue HtmlViewItem::error() const {
    return HtmlErrorValue(d->error);
}

QQmlListProperty<QObject> HtmlViewItem::actions() {
    return QQmlListProperty<QObject>(this, &actions_);
}

}  // namespace lumetto::quick
