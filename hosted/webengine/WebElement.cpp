#include "hosted/webengine/WebElement.h"

#include "hosted/DispatchIds.h"
#include "hosted/webengine/PageBridge.h"
#include "hosted/webengine/PageValue.h"

#include <QJsonArray>

namespace lumetto {
namespace {

const Member IdMember{0, "IHTMLElement.id"};
const Member InnerHtmlMember{0, "IHTMLElement.innerHTML"};
const Member GetAttributeMember{hosted::DispId::ElementGetAttribute, "IHTMLElement.getAttribute"};
const Member ReadMember{0, "IHTMLElement (member by name)"};
const Member BackgroundMember{0, "IHTMLStyle.backgroundColor"};

}  // namespace

WebElement::WebElement(std::shared_ptr<PageBridge> bridge, qint64 handle, QString tagName)
    : bridge_(std::move(bridge)), handle_(handle), tagName_(std::move(tagName)) {}

WebElement::~WebElement() {
    bridge_->forget(handle_);
}

QString WebElement::tagName() {
    return tagName_;
}

QString WebElement::id() {
    return bridge_->call(IdMember, QStringLiteral("id"), {handle_}).toString();
}

std::shared_ptr<hosted::IHTMLStyle> WebElement::style() {
    return std::make_shared<WebStyle>(bridge_, shared_from_this(), handle_);
}

void WebElement::setInnerHTML(const QString& html) {
    bridge_->call(InnerHtmlMember, QStringLiteral("setInnerHTML"), {handle_, html});
}

hosted::Variant WebElement::getAttribute(const QString& name) {
    return fromPage(bridge_->call(GetAttributeMember, QStringLiteral("getAttribute"), {handle_, name}));
}

hosted::Variant WebElement::readMember(const QString& name) {
    return fromPage(bridge_->call(ReadMember, QStringLiteral("member"), {handle_, name}));
}

WebStyle::WebStyle(std::shared_ptr<PageBridge> bridge, std::shared_ptr<WebElement> element, qint64 handle)
    : bridge_(std::move(bridge)), element_(std::move(element)), handle_(handle) {}

hosted::Variant WebStyle::backgroundColor() {
    return fromPage(bridge_->call(BackgroundMember, QStringLiteral("backgroundColor"), {handle_}));
}

void WebStyle::setBackgroundColor(const hosted::Variant& colour) {
    bridge_->call(BackgroundMember, QStringLiteral("setBackgroundColor"), {handle_, colour.toText()});
}

}  // namespace lumetto
