#pragma once


#include <cstdint>

namespace contract {

/// Failure codes of the run-time library, as the user sees them in the error report.
namespace ErrorCode {
constexpr int32_t InvalidProcedureCall = 5;  ///< an argument the call cannot take
constexpr int32_t TypeMismatch = 13;  ///< a value of the wrong kind
constexpr int32_t PathFileAccess = 75;  ///< a location the control may not load
constexpr int32_t ObjectNotSet = 91;  ///< an object reference that is Nothing
constexpr int32_t InvalidUseOfNull = 94;  ///< Null where a value is needed
constexpr int32_t InvalidPropertyValue = 380;  ///< a property value out of range
constexpr int32_t MemberNotSupported = 438;  ///< an object without the member asked for
constexpr int32_t AutomationError = 440;  ///< the control could not complete the call
}  // namespace ErrorCode

/// A failure code with its names.
struct ErrorEntry {
    int32_t code;  ///< the failure code
    const char* name;         ///< how the control's page script names the code
    const char* description;  ///< the text of the error report
};

/// Every failure the program reports, with its description. The control hands this table to
/// its page script, so that the page reports the same codes.
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

}  // namespace contract
