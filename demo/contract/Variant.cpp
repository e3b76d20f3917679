#include "contract/Variant.h"

namespace contract {
Variant Variant::null() {
    Variant v;
    v.type_ = Type::Null;
    return v;
}

Variant Variant::fromBool(bool value) {
    Variant v;
    v.type_ = Type::Boolean;
    v.number_ = value ? -1 : 0;
    return v;
}

Variant Variant::fromInteger(int16_t value) {
    Variant v;
    v.type_ = Type::Integer;
    v.number_ = value;
    return v;
}

Variant Variant::fromLong(int32_t value) {
    Variant v;
    v.type_ = Type::Long;
    v.number_ = value;
    return v;
}

Variant Variant::fromString(QString value) {
    Variant v;
    v.type_ = Type::String;
    v.text_ = std::move(value);
    return v;
}

Variant Variant::fromObject(std::shared_ptr<HostObject> object) {
    Variant v;
    v.type_ = Type::Object;
    v.object_ = std::move(object);
    return v;
}

QString Variant::toText() const {
    switch (type_) {
    case Type::Empty:
        return QString();
    case Type::Null:
        throw RuntimeError::invalidUseOfNull();
    case Type::Boolean:
        return number_ ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer:
    case Type::Long:
        return QString::number(number_);
    case Type::String:
        return text_;
    case Type::Object:
        break;
    }
    throw RuntimeError::typeMismatch();
}

bool Variant::toBool() const {
    switch (type_) {
    case Type::Empty:
        return false;
    case Type::Null:
        throw RuntimeError::invalidUseOfNull();
    case Type::Boolean:
    case Type::Integer:
    case Type::Long:
        return number_ != 0;
    case Type::String: {
        const QString t = text_.trimmed();
        if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (ok)
            return d != 0.0;
        break;
    }
    case Type::Object:
        break;
    }
    throw RuntimeError::typeMismatch();
}

void appendText(QString& text, const Variant& value) {
    if (!value.isNull())
        text += value.toText();
}

Variant rightText(const Variant& value, int n) {
    if (value.isNull())
        return value;
    return Variant::fromString(value.toText().right(n));
}

}  // namespace contract
