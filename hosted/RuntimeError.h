#pragma once

#include "hosted/ErrorCodes.h"

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace hosted {

// A failed call: thrown by the display control, the document objects and the run-time
// conversions, and reported by the forms layer at the top of the event procedure.
class RuntimeError : public std::exception {
public:
    RuntimeError(int32_t code, QString description)
        : code_(code), description_(std::move(description)), what_(description_.toStdString()) {}

    // The table's description of code, followed by ": detail" when a detail is given.
    static RuntimeError of(int32_t code, const QString& detail = {});
    static RuntimeError invalidProcedureCall(const QString& detail) { return of(ErrorCode::InvalidProcedureCall, detail); }
    static RuntimeError typeMismatch() { return of(ErrorCode::TypeMismatch); }
    static RuntimeError pathFileAccess(const QString& detail = {}) { return of(ErrorCode::PathFileAccess, detail); }
    static RuntimeError objectNotSet() { return of(ErrorCode::ObjectNotSet); }
    static RuntimeError invalidUseOfNull() { return of(ErrorCode::InvalidUseOfNull); }
    static RuntimeError invalidPropertyValue() { return of(ErrorCode::InvalidPropertyValue); }
    static RuntimeError memberNotSupported() { return of(ErrorCode::MemberNotSupported); }
    static RuntimeError automationError() { return of(ErrorCode::AutomationError); }

    int32_t code() const { return code_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int32_t code_;
    QString description_;
    std::string what_;
};

// The table's description of a failure code; empty for a code the table does not hold.
QString errorDescription(int32_t code);

}  // namespace hosted
