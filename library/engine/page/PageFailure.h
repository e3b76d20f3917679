#pragma once

#include <lumetto/HtmlError.h>

#include <exception>
#include <type_traits>

namespace lumetto::engine {

// A failed call inside the library. It never leaves the library: each public call that can
// fail runs its work through attempt(), which turns it into the HtmlError the call reports.
struct PageFailure {
    HtmlError error;
};

// The failure of a call: PageFailed unless the page named another kind by its number.
PageFailure pageFailure(const char* call, const QString& reason, int pageCode = 0);

// Hands failure to the caller's error, or, without one, to Qt's log.
void reportFailure(HtmlError* error, const HtmlError& failure);

// Runs work; a failure is reported to error and the call returns a default value.
template <typename Work>
auto attempt(HtmlError* error, const char* call, Work&& work) -> decltype(work()) {
    using Result = decltype(work());
    try {
        return work();
    } catch (const PageFailure& failure) {
        reportFailure(error, failure.error);
    } catch (const std::exception& failure) {
        reportFailure(error, pageFailure(call, QString::fromLocal8Bit(failure.what())).error);
    }
    if constexpr (!std::is_void_v<Result>)
        return Result();
}

}  // namespace lumetto::engine
