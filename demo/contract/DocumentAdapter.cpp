#include "contract/DocumentAdapter.h"

#include "contract/ContractFailure.h"
#include "contract/DispatchIds.h"

namespace contract {
namespace {

const Member IdMember{0, "IHTMLElement.id"};
const Member InnerHtmlMember{0, "IHTMLElement.innerHTML"};
const Member GetAttributeMember{DispId::ElementGetAttribute, "IHTMLElement.getAttribute"};
const Member ReadMember{0, "IHTMLElement (member by name)"};
const Member BackgroundMember{0, "IHTMLStyle.backgroundColor"};
const Member AllMember{DispId::DocumentAll, "Document.all"};
const Member BodyMember{DispId::DocumentBody, "Document.body"};
const Member CreateRangeMember{0, "IHTMLSelectionObject.createRange"};
const QString BackgroundColor = QStringLiteral("background-color");

}  // namespace

// Every element has a tag name; a handle without one holds no element.
Variant ElementAdapters::of(const lumetto::HtmlElement& element) {
    if (element.tagName().isEmpty())
        return Variant::fromObject(nullptr);
    std::shared_ptr<ElementAdapter> adapter = live_.value(element).lock();
    if (!adapter) {
        adapter = std::make_shared<ElementAdapter>(element, shared_from_this());
        live_.insert(element, adapter);
    }
    return Variant::fromObject(adapter);
}

ElementAdapter::~ElementAdapter() {
    if (const auto adapters = adapters_.lock())
        adapters->forget(element_);
}

void ElementAdapter::checkHere() const {
    if (element_.isNull())
        throw RuntimeError(ErrorCode::ObjectNotSet, QStringLiteral("The element no longer exists: its page was loaded anew"));
}

QString ElementAdapter::id() {
    checkHere();
    lumetto::HtmlError error;
    const QString id = element_.id(&error);
    check(IdMember, error);
    return id;
}

std::shared_ptr<IHTMLStyle> ElementAdapter::style() {
    return std::make_shared<StyleAdapter>(shared_from_this());
}

void ElementAdapter::setInnerHTML(const QString& html) {
    checkHere();
    lumetto::HtmlError error;
    element_.setInnerHtml(html, &error);
    check(InnerHtmlMember, error);
}

Variant ElementAdapter::getAttribute(const QString& name) {
    checkHere();
    lumetto::HtmlError error;
    const QString value = element_.attribute(name, &error);
    check(GetAttributeMember, error);
    return value.isNull() ? Variant::null() : Variant::fromString(value);
}

Variant ElementAdapter::readMember(const QString& name) {
    checkHere();
    lumetto::HtmlError error;
    const QVariant value = element_.property(name, &error);
    check(ReadMember, error);
    return fromPage(value);
}

Variant StyleAdapter::backgroundColor() {
    if (element_->element().isNull())
        return Variant::fromString(QString());
    lumetto::HtmlError error;
    const QString colour = element_->element().styleProperty(BackgroundColor, &error);
    check(BackgroundMember, error);
    return Variant::fromString(colour);
}

void StyleAdapter::setBackgroundColor(const Variant& colour) {
    const QString text = colour.toText();
    if (element_->element().isNull())
        return;
    lumetto::HtmlError error;
    element_->element().setStyleProperty(BackgroundColor, text, &error);
    check(BackgroundMember, error);
}

Variant DocumentAdapter::all() {
    lumetto::HtmlError error;
    QList<lumetto::HtmlElement> elements = document_.elements(&error);
    check(AllMember, error);
    return Variant::fromObject(std::make_shared<CollectionAdapter>(std::move(elements), adapters_));
}

Variant DocumentAdapter::body() {
    lumetto::HtmlError error;
    const lumetto::HtmlElement body = document_.body(&error);
    check(BodyMember, error);
    return adapters_->of(body);
}

Variant DocumentAdapter::selection() {
    return Variant::fromObject(std::make_shared<SelectionAdapter>(document_));
}

Variant CollectionAdapter::item(int32_t index) {
    if (index < 0 || index >= length())
        return Variant::fromObject(nullptr);
    return adapters_->of(elements_[index]);
}

Variant SelectionAdapter::createRange() {
    lumetto::HtmlError error;
    const bool controls = document_.hasSelectedControls(&error);
    check(CreateRangeMember, error);
    if (controls)
        return Variant::fromObject(std::make_shared<ControlRange>());
    const QString text = document_.selectedText(&error);
    check(CreateRangeMember, error);
    return Variant::fromObject(std::make_shared<TextRange>(text));
}

}  // namespace contract
