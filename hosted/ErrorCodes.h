#pragma once

#include <cstdint>

namespace hosted {

// Failure codes of the run-time library, as the user sees them in the error report.
namespace ErrorCode {
constexpr int32_t InvalidProcedureCall = 5;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t PathFileAccess = 75;
constexpr int32_t ObjectNotSet = 91;
constexpr int32_t InvalidUseOfNull = 94;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t MemberNotSupported = 438;
constexpr int32_t AutomationError = 440;
}  // namespace ErrorCode

struct ErrorEntry {
    int32_t code;
    const char* name;         // how the control's page script names the code
    const char* description;  // the text of the error report
};

// Every failure the program reports, with its description. The control hands this table to
// its page script, so that the page reports the same codes.
inline constexpr ErrorEntry ErrorTable[] = {
    {ErrorCode::InvalidProcedureCall, "InvalidProcedureCall", "Invalid procedure call or argument"},
    {ErrorCode::TypeMismatch, "TypeMismatch", "Type mismatch"},
    {ErrorCode::PathFileAccess, "PathFileAccess", "Path/File access error"},
    {ErrorCode::ObjectNotSet, "ObjectNotSet", "Object variable not set"},
    {ErrorCode::InvalidUseOfNull, "InvalidUseOfNull", "Invalid use of Null"},
    {ErrorCode::InvalidPropertyValue, "InvalidPropertyValue", "Invalid property value"},
    {ErrorCode::MemberNotSupported, "MemberNotSupported", "Object doesn't support this property or method"},
    {ErrorCode::AutomationError, "AutomationError", "Automation error"},
};

}  // namespace hosted
