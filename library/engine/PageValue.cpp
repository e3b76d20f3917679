#include "engine/PageValue.h"

#include <cmath>

namespace lumetto {

lumetto::Variant fromPage(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return lumetto::Variant::fromBool(value.toBool());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (std::trunc(number) == number && std::abs(number) <= 2147483647.0)
            return lumetto::Variant::fromLong(static_cast<int32_t>(number));
        return lumetto::Variant::fromString(value.toString());
    }
    case QMetaType::QString:
        return lumetto::Variant::fromString(value.toString());
    default:
        return lumetto::Variant::null();
    }
}

}  // namespace lumetto
