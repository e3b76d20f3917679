#include "engine/WebDocument.h"

#include "engine/DispatchIds.h"
#include "engine/ElementHandles.h"
#include "engine/PageCalls.h"
#include "engine/WebElement.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace lumetto {
namespace {

const Member AllMember{lumetto::DispId::DocumentAll, "Document.all"};
const Member BodyMember{lumetto::DispId::DocumentBody, "Document.body"};
const Member CreateRangeMember{0, "IHTMLSelectionObject.createRange"};

}  // namespace

WebDocument::WebDocument(std::shared_ptr<ElementHandles> handles) : handles_(std::move(handles)) {}

lumetto::Variant WebDocument::all() {
    const QJsonArray rows = QJsonDocument::fromJson(handles_->calls().call(AllMember, QStringLiteral("all")).toString().toUtf8()).array();
    std::vector<std::shared_ptr<WebElement>> elements;
    elements.reserve(rows.size());
    for (const QJsonValue& row : rows) {
        const QJsonArray fields = row.toArray();  // handle, tag, name, value
        auto element = handles_->elementFor(fields.at(0).toInteger(), fields.at(1).toString());
        element->remember(fields.at(2), fields.at(3), handles_->calls().epoch());
        elements.push_back(std::move(element));
    }
    return lumetto::Variant::fromObject(std::make_shared<WebElementCollection>(std::move(elements)));
}

lumetto::Variant WebDocument::body() {
    return lumetto::Variant::fromObject(handles_->elementFor(handles_->calls().call(BodyMember, QStringLiteral("body"))));
}

lumetto::Variant WebDocument::selection() {
    return lumetto::Variant::fromObject(std::make_shared<WebSelection>(handles_));
}

WebElementCollection::WebElementCollection(std::vector<std::shared_ptr<WebElement>> elements)
    : elements_(std::move(elements)) {}

int32_t WebElementCollection::length() {
    return static_cast<int32_t>(elements_.size());
}

lumetto::Variant WebElementCollection::item(int32_t index) {
    if (index < 0 || index >= length())
        return lumetto::Variant::fromObject(nullptr);
    return lumetto::Variant::fromObject(elements_[index]);
}

WebSelection::WebSelection(std::shared_ptr<ElementHandles> handles) : handles_(std::move(handles)) {}

lumetto::Variant WebSelection::createRange() {
    const QVariantMap range = handles_->calls().call(CreateRangeMember, QStringLiteral("createRange")).toMap();
    if (range.value(QStringLiteral("controls")).toBool())
        return lumetto::Variant::fromObject(std::make_shared<WebControlRange>());
    return lumetto::Variant::fromObject(std::make_shared<WebTextRange>(range.value(QStringLiteral("text")).toString()));
}

}  // namespace lumetto
