#include "contract/ContractFailure.h"

#include "contract/DispatchIds.h"
#include "contract/Variant.h"

#include <QHash>

#include <cmath>

namespace contract {
namespace {

int32_t codeOf(lumetto::HtmlError::Type type) {
    switch (type) {
    case lumetto::HtmlError::ElementGone:
        return ErrorCode::ObjectNotSet;
    case lumetto::HtmlError::NoSuchProperty:
        return ErrorCode::MemberNotSupported;
    default:
        return ErrorCode::AutomationError;
    }
}

// What the run-time error says after the member: the library's description, but for a member
// the element lacks, which the contract describes in its own words.
QString detailOf(const lumetto::HtmlError& failure) {
    if (failure.type() == lumetto::HtmlError::NoSuchProperty)
        return errorDescription(ErrorCode::MemberNotSupported);
    return failure.description();
}

}  // namespace

RuntimeError runtimeErrorOf(const Member& member, const lumetto::HtmlError& failure) {
    QString where = QStringLiteral("vekBrowser.%1").arg(QLatin1String(member.name));
    if (member.dispId != 0)
        where += QStringLiteral(" (dispatch id &H%1)").arg(static_cast<quint32>(member.dispId), 0, 16);
    return RuntimeError(codeOf(failure.type()), QStringLiteral("%1 in %2: %3")
                                                    .arg(errorDescription(ErrorCode::AutomationError), where, detailOf(failure)));
}

void check(const Member& member, const lumetto::HtmlError& failure) {
    if (failure.isValid())
        throw runtimeErrorOf(member, failure);
}

RuntimeError runtimeErrorOfReported(const lumetto::HtmlError& failure) {
    static const QHash<QString, Member> members{
        {QStringLiteral("setBaseUrl"), {DispId::BaseURL, "BaseURL"}},
        {QStringLiteral("setCssText"), {DispId::CSSText, "CSSText"}},
        {QStringLiteral("setMouseSelectEnabled"), {DispId::AllowMouseSelect, "AllowMouseSelect"}},
        {QStringLiteral("setBodyHtml"), {DispId::bodyHTML, "bodyHTML"}},
        {QStringLiteral("HtmlElement::setInnerHtml"), {0, "IHTMLElement.innerHTML"}},
    };
    if (failure.call().isEmpty())
        return RuntimeError::of(codeOf(failure.type()), failure.description());
    return runtimeErrorOf(members.value(failure.call(), Member{0, "the page's content"}), failure);
}

Variant fromPage(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Variant::fromBool(value.toBool());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (std::trunc(number) == number && std::abs(number) <= 2147483647.0)
            return Variant::fromLong(static_cast<int32_t>(number));
        return Variant::fromString(value.toString());
    }
    case QMetaType::QString:
        return Variant::fromString(value.toString());
    default:
        return Variant::null();
    }
}

}  // namespace contract
