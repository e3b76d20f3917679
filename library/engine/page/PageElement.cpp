#include "engine/page/PageElement.h"

#include "engine/recovery/ContentRecord.h"
#include "engine/page/PageCalls.h"
#include "engine/page/PageFailure.h"

#include <QJsonArray>

namespace lumetto::engine {
namespace {

// HtmlElement as the engine makes and reads it, through its protected members.
class ElementHandle : public HtmlElement {
public:
    explicit ElementHandle(std::shared_ptr<PageElement> element) : HtmlElement(std::move(element)) {}
    static const PageElement* behind(const HtmlElement& handle) { return (handle.*&ElementHandle::d).get(); }
};

}  // namespace

HtmlElement PageElement::handleOf(std::shared_ptr<PageElement> element) {
    return ElementHandle(std::move(element));
}

const PageElement* PageElement::behind(const HtmlElement& handle) {
    return ElementHandle::behind(handle);
}

PageElement::PageElement(std::shared_ptr<PageCalls> calls, std::shared_ptr<ContentRecord> record, int generation,
                         qint64 handle, QString tagName, std::function<void()> release)
    : calls_(std::move(calls)), record_(std::move(record)), generation_(generation), handle_(handle),
      release_(std::move(release)), tagName_(std::move(tagName)) {}

PageElement::~PageElement() {
    release_();
}

bool PageElement::isGone() const {
    return calls_->detached() || generation_ != calls_->generation();
}

HtmlError PageElement::gone(const char* caller) const {
    if (!isGone())
        return {};
    const QString why = calls_->detached() ? QStringLiteral("its control was destroyed") : QStringLiteral("its page was loaded anew");
    return HtmlError(HtmlError::ElementGone, QStringLiteral("The element no longer exists: %1").arg(why), QString::fromLatin1(caller));
}

QVariant PageElement::call(const char* caller, const QString& op, QJsonArray args) const {
    if (const HtmlError failure = gone(caller); failure.isValid())
        throw PageFailure{failure};
    if (const std::optional<QVariant> value = calls_->answers().carried(handle_, op, args))
        return *value;
    args.prepend(handle_);
    return calls_->call(caller, op, args);
}

void PageElement::request(const char* caller, const QString& op, QJsonArray args, PageCalls::Answer answer) const {
    if (const HtmlError failure = gone(caller); failure.isValid())
        return answer({}, failure);
    args.prepend(handle_);
    calls_->request(caller, op, args, std::move(answer));
}

void PageElement::send(const char* caller, const QString& op, QJsonArray args) const {
    if (const HtmlError failure = gone(caller); failure.isValid())
        throw PageFailure{failure};
    args.prepend(handle_);
    calls_->send(caller, op, args);
}

void PageElement::setInnerHtml(const QString& html) {
    const QVariant path = call("HtmlElement::setInnerHtml", QStringLiteral("setInnerHTML"), {html});
    if (path.typeId() == QMetaType::QVariantList)  // an element of the shown content
        record_->innerHtmlSet(QJsonArray::fromVariantList(path.toList()), html);
}

void PageElement::remember(const QJsonValue& name, const QJsonValue& value, quint64 epoch) {
    name_ = name;
    value_ = value;
    snapshotEpoch_ = epoch;
    hasSnapshot_ = true;
}

std::optional<QVariant> PageElement::remembered(const QString& name) const {
    if (hasSnapshot_ && snapshotEpoch_ == calls_->epoch() && !isGone()) {
        if (name.compare(QLatin1String("name"), Qt::CaseInsensitive) == 0)
            return name_.toVariant();
        if (name.compare(QLatin1String("value"), Qt::CaseInsensitive) == 0)
            return value_.toVariant();
    }
    return std::nullopt;
}

QVariant PageElement::attribute(const QString& name) const {
    if (const std::optional<QVariant> value = remembered(name))
        return *value;
    return call("HtmlElement::attribute", QStringLiteral("getAttribute"), {name});
}

void PageElement::attribute(const QString& name, PageCalls::Answer answer) const {
    if (const std::optional<QVariant> value = remembered(name))
        return answer(*value, {});
    request("HtmlElement::attribute", QStringLiteral("getAttribute"), {name}, std::move(answer));
}

}  // namespace lumetto::engine
