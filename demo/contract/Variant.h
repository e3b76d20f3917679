#pragma once

#include "contract/RuntimeError.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <variant>

namespace contract {

/// Anything a Variant can hold a reference to: the document objects and their collections.
class HostObject {
public:
    virtual ~HostObject() = default;  ///< Objects are held by std::shared_ptr.
};

/// The tagged value of late-bound calls. Booleans are -1 (True) and 0 (False).
class Variant {
public:
    /// What a Variant holds.
    enum class Type { Empty, Null, Boolean, Integer, Long, String, Object };

    Variant() = default;  ///< Empty
    static Variant null();  ///< Null, the absence of a value
    static Variant fromBool(bool value);         ///< a Boolean, -1 or 0
    static Variant fromInteger(int16_t value);   ///< a 16-bit integer
    static Variant fromLong(int32_t value);      ///< a 32-bit integer
    static Variant fromString(QString value);    ///< text
    static Variant fromObject(std::shared_ptr<HostObject> object);  ///< a null pointer is Nothing

    /// What the value holds.
    Type type() const { return type_; }
    /// Whether the value is Null.
    bool isNull() const { return type_ == Type::Null; }

    /// Text form: Empty is "", numbers in decimal, Booleans "True"/"False".
    /// Null fails with "Invalid use of Null"; an object fails with "Type mismatch".
    QString toText() const;
    /// Non-zero numbers are True; "True"/"False" and numeric text convert; anything else fails.
    bool toBool() const;
    /// The object reference, taken as T: Nothing fails with "Object variable not set",
    /// a value that is no object or not a T fails with "Type mismatch".
    template <typename T>
    std::shared_ptr<T> as() const;

private:
    Type type_ = Type::Empty;
    int32_t number_ = 0;
    QString text_;
    std::shared_ptr<HostObject> object_;
};

/// text = text & value, in place: Null adds nothing, anything else adds its text form.
void appendText(QString& text, const Variant& value);
/// The last n characters of a value's text; a shorter text is taken whole and Null stays Null.
Variant rightText(const Variant& value, int n);

template <typename T>
std::shared_ptr<T> Variant::as() const {
    if (type_ != Type::Object) {
        if (type_ == Type::Empty)
            throw RuntimeError::objectNotSet();
        throw RuntimeError::typeMismatch();
    }
    if (!object_)
        throw RuntimeError::objectNotSet();
    auto typed = std::dynamic_pointer_cast<T>(object_);
    if (!typed)
        throw RuntimeError::typeMismatch();
    return typed;
}

}  // namespace contract
