#include <lumetto/BrowserWidget.h>

#include "engine/DocumentName.h"
#include "engine/WebBrowserControl.h"

#include <QPointer>
#include <QVBoxLayout>

namespace lumetto {
namespace {

// A control placed without a design extent, as in Qt Designer.
constexpr QSize DefaultSize(320, 240);

bool hasExtent(const lumetto::DesignSettings& settings) {
    for (const auto& setting : settings)
        if (setting.first == QLatin1String("_extentx") || setting.first == QLatin1String("_extenty"))
            return true;
    return false;
}

}  // namespace

// The engine's control raises its events here; each becomes a Qt signal, then goes to the
// contract's event sink.
class BrowserWidget::Private : public lumetto::vekBrowserEvents {
public:
    Private(BrowserWidget* q, const lumetto::DesignSettings& settings)
        : q(q), core(q, settings), designSize(hasExtent(settings) ? core.widget()->size() : DefaultSize),
          documentName(q, [this](const QString& name) { core.setDocumentName(name); }) {
        core.setEventSink(this);
        core.onContentDiscarded([q] { emit q->contentDiscarded(); });
        core.onFailed([q](const lumetto::RuntimeError& failure) { emit q->failed(failure.code(), failure.description()); });
    }

    void LeftClick() override {
        raise([this] { emit q->leftClicked(); }, [this] { sink->LeftClick(); });
    }
    void RightClick() override {
        raise([this] { emit q->rightClicked(); }, [this] { sink->RightClick(); });
    }
    void MenuItemClick(QString& key, lumetto::Variant& reserved1, int16_t& checkState, lumetto::Variant& reserved2) override {
        raise([&] { emit q->menuItemClicked(key, checkState != 0); },
              [&] { sink->MenuItemClick(key, reserved1, checkState, reserved2); });
    }
    void ClipboardCopy(int32_t& copiedAsHtml) override {
        raise([&] { emit q->clipboardCopied(copiedAsHtml != 0); }, [&] { sink->ClipboardCopy(copiedAsHtml); });
    }
    void RestoreHighlight() override {
        raise([this] { emit q->restoreHighlightRequested(); }, [this] { sink->RestoreHighlight(); });
    }

    // The signal first, then the contract's sink, unless a slot of the signal deleted the control.
    template <typename Signal, typename ToSink>
    void raise(Signal&& signal, ToSink&& toSink) {
        const QPointer<BrowserWidget> alive(q);
        signal();
        if (alive && sink)
            toSink();
    }

    // A property write the page refused leaves the property as it was.
    template <typename Write>
    void write(const char* property, Write&& apply) {
        try {
            apply();
        } catch (const lumetto::RuntimeError& failure) {
            qWarning("lumetto::BrowserWidget: %s was not changed: %s", property, failure.what());
        }
    }

    BrowserWidget* q;
    WebBrowserControl core;
    QSize designSize;
    DocumentName documentName;
    lumetto::vekBrowserEvents* sink = nullptr;
};

BrowserWidget::BrowserWidget(QWidget* parent) : BrowserWidget(parent, {}) {}

BrowserWidget::BrowserWidget(QWidget* parent, const lumetto::DesignSettings& settings)
    : QWidget(parent), d(std::make_unique<Private>(this, settings)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->core.widget());
    setFocusPolicy(d->core.widget()->focusPolicy());
    setFocusProxy(d->core.widget());
    // The page's view carries the control's name, so that what finds the page by the control's
    // name (accessibility tools, tests) finds it.
    QWidget* view = d->core.widget();
    connect(this, &QObject::objectNameChanged, view, [view](const QString& name) { view->setObjectName(name); });
    resize(d->designSize);
}

BrowserWidget::~BrowserWidget() = default;

QSize BrowserWidget::sizeHint() const {
    return d->designSize;
}

QString BrowserWidget::cssText() const {
    return d->core.cssText();
}

void BrowserWidget::setCssText(const QString& rules) {
    d->write("cssText", [&] { setCSSText(rules); });
}

bool BrowserWidget::cssFromUrl() const {
    return d->core.cssFromUrl();
}

void BrowserWidget::setCssFromUrl(bool fromUrl) {
    d->write("cssFromUrl", [&] { setCSSFromURL(lumetto::Variant::fromBool(fromUrl)); });
}

QString BrowserWidget::baseUrl() const {
    return d->core.baseUrl();
}

void BrowserWidget::setBaseUrl(const QString& base) {
    d->write("baseUrl", [&] { setBaseURL(base); });
}

QString BrowserWidget::bodyHtml() const {
    return d->core.bodyHtml();
}

void BrowserWidget::setBodyHtml(const QString& html) {
    d->write("bodyHtml", [&] { setBodyHTML(html); });
}

bool BrowserWidget::mouseSelectEnabled() const {
    return d->core.AllowMouseSelect().toBool();
}

void BrowserWidget::setMouseSelectEnabled(bool enabled) {
    d->write("mouseSelectEnabled", [&] { setAllowMouseSelect(lumetto::Variant::fromBool(enabled)); });
}

bool BrowserWidget::clipboardMenuEnabled() const {
    return d->core.clipboardMenuEnabled();
}

void BrowserWidget::setClipboardMenuEnabled(bool enabled) {
    d->core.setClipboardMenuEnabled(enabled);
}

bool BrowserWidget::respondsToEvents() const {
    return d->core.respondsToEvents();
}

void BrowserWidget::setRespondsToEvents(bool responds) {
    d->core.setRespondsToEvents(responds);
}

QWidget* BrowserWidget::widget() {
    return this;
}

void BrowserWidget::setEventSink(lumetto::vekBrowserEvents* sink) {
    d->sink = sink;
}

lumetto::Variant BrowserWidget::ClickedElement() {
    return d->core.ClickedElement();
}

lumetto::Variant BrowserWidget::AllowMouseSelect() {
    return d->core.AllowMouseSelect();
}

void BrowserWidget::setAllowMouseSelect(const lumetto::Variant& allow) {
    d->core.setAllowMouseSelect(allow);
}

lumetto::Variant BrowserWidget::SourceHTML() {
    return d->core.SourceHTML();
}

void BrowserWidget::setBaseURL(const QString& base) {
    d->core.setBaseURL(base);
}

void BrowserWidget::setCSSText(const QString& rules) {
    d->core.setCSSText(rules);
}

void BrowserWidget::setCSSFromURL(const lumetto::Variant& fromUrl) {
    d->core.setCSSFromURL(fromUrl);
}

void BrowserWidget::setBodyHTML(const QString& html) {
    d->core.setBodyHTML(html);
}

lumetto::Variant BrowserWidget::Document() {
    return d->core.Document();
}

void BrowserWidget::AddMenuItem(const QString& key, const QString& caption) {
    d->core.AddMenuItem(key, caption);
}

void BrowserWidget::UpdateMenuItem(QString& key, const lumetto::Variant& checkState, const lumetto::Variant& enabled,
                                   const lumetto::Variant& visible) {
    d->core.UpdateMenuItem(key, checkState, enabled, visible);
}

lumetto::Variant BrowserWidget::GetSelectionHTML() {
    return d->core.GetSelectionHTML();
}

std::unique_ptr<lumetto::vekBrowser> BrowserWidgetFactory::create(QWidget* parent, const lumetto::DesignSettings& settings) {
    return std::make_unique<BrowserWidget>(parent, settings);
}

}  // namespace lumetto
