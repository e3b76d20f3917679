#include "engine/WebElement.h"

#include "engine/DispatchIds.h"
#include "engine/ContentRecord.h"
#include "engine/PageCalls.h"
#include "engine/PageValue.h"

#include <QJsonArray>

namespace lumetto {
namespace {

const Member IdMember{0, "IHTMLElement.id"};
const Member InnerHtmlMember{0, "IHTMLElement.innerHTML"};
const Member GetAttributeMember{lumetto::DispId::ElementGetAttribute, "IHTMLElement.getAttribute"};
const Member ReadMember{0, "IHTMLElement (member by name)"};
const Member BackgroundMember{0, "IHTMLStyle.backgroundColor"};

lumetto::RuntimeError gone() {
    return lumetto::RuntimeError(lumetto::ErrorCode::ObjectNotSet,
                                QStringLiteral("The element no longer exists: its page was loaded anew"));
}

}  // namespace

WebElement::WebElement(std::shared_ptr<PageCalls> calls, std::shared_ptr<ContentRecord> record, int generation,
                       qint64 handle, QString tagName, std::function<void()> release)
    : calls_(std::move(calls)), record_(std::move(record)), generation_(generation), handle_(handle), release_(std::move(release)),
      tagName_(std::move(tagName)) {}

WebElement::~WebElement() {
    release_();
}

bool WebElement::isGone() const {
    return generation_ != calls_->generation();
}

void WebElement::remember(const QJsonValue& name, const QJsonValue& value, quint64 epoch) {
    name_ = name;
    value_ = value;
    snapshotEpoch_ = epoch;
    hasSnapshot_ = true;
}

QString WebElement::tagName() {
    return tagName_;
}

QString WebElement::id() {
    if (isGone())
        throw gone();
    return calls_->call(IdMember, QStringLiteral("id"), {handle_}).toString();
}

std::shared_ptr<lumetto::IHTMLStyle> WebElement::style() {
    return std::make_shared<WebStyle>(shared_from_this());
}

void WebElement::setInnerHTML(const QString& html) {
    if (isGone())
        throw gone();
    const QVariant path = calls_->call(InnerHtmlMember, QStringLiteral("setInnerHTML"), {handle_, html});
    if (path.typeId() == QMetaType::QVariantList)  // an element of the shown content
        record_->innerHtmlSet(QJsonArray::fromVariantList(path.toList()), html);
}

lumetto::Variant WebElement::getAttribute(const QString& name) {
    if (isGone())
        throw gone();
    // Answered from what the page reported with the element while nothing can have changed it.
    if (hasSnapshot_ && snapshotEpoch_ == calls_->epoch()) {
        if (name.compare(QLatin1String("name"), Qt::CaseInsensitive) == 0)
            return fromPage(name_.toVariant());
        if (name.compare(QLatin1String("value"), Qt::CaseInsensitive) == 0)
            return fromPage(value_.toVariant());
    }
    return fromPage(calls_->call(GetAttributeMember, QStringLiteral("getAttribute"), {handle_, name}));
}

lumetto::Variant WebElement::readMember(const QString& name) {
    if (isGone())
        throw gone();
    return fromPage(calls_->call(ReadMember, QStringLiteral("member"), {handle_, name}));
}

WebStyle::WebStyle(std::shared_ptr<WebElement> element) : element_(std::move(element)) {}

lumetto::Variant WebStyle::backgroundColor() {
    if (element_->isGone())
        return lumetto::Variant::fromString(QString());
    return fromPage(element_->calls().call(BackgroundMember, QStringLiteral("backgroundColor"), {element_->handle()}));
}

void WebStyle::setBackgroundColor(const lumetto::Variant& colour) {
    const QString text = colour.toText();
    if (element_->isGone())
        return;
    element_->calls().send(BackgroundMember, QStringLiteral("setBackgroundColor"), {element_->handle(), text});
}

}  // namespace lumetto
