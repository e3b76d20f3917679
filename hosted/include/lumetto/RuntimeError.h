#pragma once

#include <lumetto/Global.h>

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace hosted {

/// Failure codes of the run-time library, as the user sees them in the error report.
namespace ErrorCode {
constexpr int32_t TypeMismatch = 13;  ///< a value of the wrong kind
constexpr int32_t ObjectNotSet = 91;  ///< an object reference that is Nothing
constexpr int32_t InvalidUseOfNull = 94;  ///< Null where a value is needed
constexpr int32_t AutomationError = 440;  ///< the control could not complete the call
constexpr int32_t MemberNotSupported = 438;  ///< an object without the member asked for
}  // namespace ErrorCode

/// A failed call: thrown by the display control, the document objects and the run-time
/// conversions, and reported by the forms layer at the top of the event procedure.
class LUMETTO_CONTROL_EXPORT RuntimeError : public std::exception {
public:
    /// A failure with its code and the description the user reads.
    RuntimeError(int32_t code, QString description)
        : code_(code), description_(std::move(description)), what_(description_.toStdString()) {}

    /// The failure code.
    int32_t code() const { return code_; }
    /// What failed, as the user reads it.
    const QString& description() const { return description_; }
    /// The description, in UTF-8.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int32_t code_;
    QString description_;
    std::string what_;
};

}  // namespace hosted
