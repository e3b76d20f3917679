#pragma once

#include "contract/ErrorCodes.h"

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace contract {

/// A failed call: thrown by the display control, the document objects and the run-time
/// conversions, and reported by the forms layer at the top of the event procedure.
class RuntimeError : public std::exception {
public:
    /// A failure with its code and the description the user reads.
    RuntimeError(int32_t code, QString description)
        : code_(code), description_(std::move(description)), what_(description_.toStdString()) {}

    /// The table's description of code, followed by ": detail" when a detail is given.
    static RuntimeError of(int32_t code, const QString& detail = {});
    /// ErrorCode::InvalidProcedureCall, with the table's description.
    static RuntimeError invalidProcedureCall(const QString& detail) { return of(ErrorCode::InvalidProcedureCall, detail); }
    /// ErrorCode::TypeMismatch, with the table's description.
    static RuntimeError typeMismatch() { return of(ErrorCode::TypeMismatch); }
    /// ErrorCode::PathFileAccess, with the table's description.
    static RuntimeError pathFileAccess(const QString& detail = {}) { return of(ErrorCode::PathFileAccess, detail); }
    /// ErrorCode::ObjectNotSet, with the table's description.
    static RuntimeError objectNotSet() { return of(ErrorCode::ObjectNotSet); }
    /// ErrorCode::InvalidUseOfNull, with the table's description.
    static RuntimeError invalidUseOfNull() { return of(ErrorCode::InvalidUseOfNull); }
    /// ErrorCode::InvalidPropertyValue, with the table's description.
    static RuntimeError invalidPropertyValue() { return of(ErrorCode::InvalidPropertyValue); }
    /// ErrorCode::MemberNotSupported, with the table's description.
    static RuntimeError memberNotSupported() { return of(ErrorCode::MemberNotSupported); }
    /// ErrorCode::AutomationError, with the table's description.
    static RuntimeError automationError() { return of(ErrorCode::AutomationError); }

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

/// The table's description of a failure code; empty for a code the table does not hold.
QString errorDescription(int32_t code);

}  // namespace contract
