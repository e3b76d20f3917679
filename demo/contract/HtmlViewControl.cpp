#include "contract/HtmlViewControl.h"

#include "contract/ContractFailure.h"
#include "contract/DispatchIds.h"
#include "contract/DocumentAdapter.h"

#include <QAction>
#include <QThread>

#include <utility>

namespace contract {
namespace {

const Member AllowMouseSelectMember{DispId::AllowMouseSelect, "AllowMouseSelect"};
const Member SourceHTMLMember{DispId::SourceHTML, "SourceHTML"};
const Member BaseURLMember{DispId::BaseURL, "BaseURL"};
const Member CSSTextMember{DispId::CSSText, "CSSText"};
const Member CSSFromURLMember{DispId::CSSFromURL, "CSSFromURL"};
const Member bodyHTMLMember{DispId::bodyHTML, "bodyHTML"};
const Member GetSelectionHTMLMember{DispId::GetSelectionHTML, "GetSelectionHTML"};

// Design extents are hundredths of a millimetre.
int extentToPixels(const Variant& extent) {
    return qRound(extent.toText().toDouble() / 2540.0 * 96.0);
}

// A base location as the host writes it: a URL, or a local directory such as "/opt/demo/"
// or "C:/Apps/Demo/".
QUrl baseUrlOf(const QString& base) {
    const QUrl asUrl(base);
    if (asUrl.scheme().size() > 1)
        return asUrl;
    return QUrl::fromLocalFile(base);
}

}  // namespace

HtmlViewControl::HtmlViewControl(QWidget* parent, const DesignSettings& settings) : view_(new lumetto::HtmlView(parent)) {
    QObject::connect(view_, &lumetto::HtmlView::errorOccurred, view_, [this](const lumetto::HtmlError& failure) { failureReported(failure); });
    applySettings(settings);
    raiseEvents();
}

HtmlViewControl::~HtmlViewControl() {
    delete view_.data();
}

void HtmlViewControl::write(const Member& member, const std::function<void()>& write) {
    lumetto::HtmlError failure;
    const Write outer = std::exchange(writing_, Write{QThread::currentThread()->loopLevel(), &failure});
    write();
    writing_ = outer;
    check(member, failure);
}

void HtmlViewControl::failureReported(const lumetto::HtmlError& failure) {
    if (writing_.failure && writing_.loopLevel == QThread::currentThread()->loopLevel())
        *writing_.failure = failure;
    else if (receiver_)
        receiver_(failure);
    else
        qWarning("lumetto-demo: %s failed: %s", qPrintable(failure.call()), qPrintable(failure.description()));
}

void HtmlViewControl::applySettings(const DesignSettings& settings) {
    QSize size = view_->size();
    for (const auto& [key, value] : settings) {
        if (key == QLatin1String("_extentx"))
            size.setWidth(extentToPixels(value));
        else if (key == QLatin1String("_extenty"))
            size.setHeight(extentToPixels(value));
        else if (key == QLatin1String("csshttp"))
            view_->setCssFromUrl(value.toBool());
        else if (key == QLatin1String("csstext"))
            view_->setCssText(value.toText());
        else if (key == QLatin1String("respondtoevents"))
            respondsToEvents_ = value.toBool();
        else if (key == QLatin1String("allowmouseselect"))
            view_->setMouseSelectEnabled(value.toBool());
        else if (key == QLatin1String("showrightclickclipboardmenu")) {
            view_->action(lumetto::HtmlView::CopyAsText)->setVisible(value.toBool());
            view_->action(lumetto::HtmlView::CopyAsHtml)->setVisible(value.toBool());
        }
    }
    view_->resize(size);
}

// The view's signals become the contract's events, raised to the sink while there is one and
// the control responds to events.
void HtmlViewControl::raiseEvents() {
    lumetto::HtmlView* view = view_;
    QObject::connect(view, &lumetto::HtmlView::clicked, view, [this](const lumetto::HtmlElement&, Qt::MouseButton button) {
        if (vekBrowserEvents* sink = events())
            button == Qt::RightButton ? sink->RightClick() : sink->LeftClick();
    });
    QObject::connect(view, &lumetto::HtmlView::aboutToCopy, view, [this] {
        if (vekBrowserEvents* sink = events())
            sink->RestoreHighlight();
    });
    QObject::connect(view, &lumetto::HtmlView::copied, view, [this](lumetto::HtmlView::CopyFormat format) {
        if (vekBrowserEvents* sink = events()) {
            int32_t copiedAsHtml = format == lumetto::HtmlView::Html ? 1 : 0;
            sink->ClipboardCopy(copiedAsHtml);
        }
    });
}

QAction* HtmlViewControl::menuItem(const QString& key) const {
    for (QAction* item : view_->actions())
        if (item->data().toString() == key)
            return item;
    return nullptr;
}

// The entry keeps the check mark the host gave it; the event tells it with the entry's key.
void HtmlViewControl::menuItemChosen(QAction* item, bool checkedNow) {
    item->setChecked(!checkedNow);
    vekBrowserEvents* sink = events();
    if (!sink)
        return;
    QString key = item->data().toString();
    Variant reserved1;
    Variant reserved2;
    int16_t checkState = menuItem(key)->isChecked() ? -1 : 0;
    sink->MenuItemClick(key, reserved1, checkState, reserved2);
}

Variant HtmlViewControl::ClickedElement() {
    return elements_->of(view_->clickedElement());
}

Variant HtmlViewControl::AllowMouseSelect() {
    return Variant::fromBool(view_->mouseSelectEnabled());
}

void HtmlViewControl::setAllowMouseSelect(const Variant& allow) {
    write(AllowMouseSelectMember, [&] { view_->setMouseSelectEnabled(allow.toBool()); });
}

Variant HtmlViewControl::SourceHTML() {
    lumetto::HtmlError error;
    const QString source = view_->document().source(&error);
    check(SourceHTMLMember, error);
    return Variant::fromString(source);
}

void HtmlViewControl::setBaseURL(const QString& base) {
    write(BaseURLMember, [&] { view_->setBaseUrl(baseUrlOf(base)); });
}

void HtmlViewControl::setCSSText(const QString& rules) {
    write(CSSTextMember, [&] { view_->setCssText(rules); });
}

void HtmlViewControl::setCSSFromURL(const Variant& fromUrl) {
    write(CSSFromURLMember, [&] { view_->setCssFromUrl(fromUrl.toBool()); });
}

void HtmlViewControl::setBodyHTML(const QString& html) {
    write(bodyHTMLMember, [&] { view_->setBodyHtml(html); });
}

Variant HtmlViewControl::Document() {
    return Variant::fromObject(std::make_shared<DocumentAdapter>(view_->document(), elements_));
}

// Caption "-" is a separator, a bare line (a menu shows a separator's text as a heading);
// every other entry shows a check mark.
void HtmlViewControl::AddMenuItem(const QString& key, const QString& caption) {
    const bool separator = caption == QLatin1String("-");
    auto* item = new QAction(separator ? QString() : caption, view_);
    item->setData(key);
    item->setSeparator(separator);
    item->setCheckable(!separator);
    QObject::connect(item, &QAction::triggered, item, [this, item](bool checkedNow) { menuItemChosen(item, checkedNow); });
    view_->addAction(item);
}

void HtmlViewControl::UpdateMenuItem(QString& key, const Variant& checkState, const Variant& enabled, const Variant& visible) {
    QAction* item = menuItem(key);
    if (!item)
        throw RuntimeError::invalidProcedureCall(QStringLiteral("no menu item has the key \"%1\"").arg(key));
    item->setChecked(checkState.toBool());
    item->setEnabled(enabled.toBool());
    item->setVisible(visible.toBool());
}

Variant HtmlViewControl::GetSelectionHTML() {
    lumetto::HtmlError error;
    const QString html = view_->document().selectedHtml(&error);
    check(GetSelectionHTMLMember, error);
    return Variant::fromString(html);
}

}  // namespace contract
