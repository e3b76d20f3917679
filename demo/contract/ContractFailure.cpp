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
    case lumetto::HtmlError::NoSuchMenuItem:
        return ErrorCode::InvalidProcedureCall;
    default:
        return ErrorCode::AutomationError;
    }
}

}  // namespace

RuntimeError runtimeErrorOf(const Member& member, const lumetto::HtmlError& failure) {
    QString where = QStringLiteral("vekBrowser.%1").arg(QLatin1String(member.name));
    if (member.dispId != 0)
        where += QStringLiteral(" (dispatch id &H%1)").arg(static_cast<quint32>(member.dispId), 0, 16);
    return RuntimeError(codeOf(failure.type()), QStringLiteral("%1 in %2: %3")
                                                    .arg(errorDescription(ErrorCode::AutomationError), where, failure.description()));
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
        {QStringLiteral("the form field's value"), {0, "IHTMLElement.value"}},
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
