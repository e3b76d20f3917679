#pragma once

#include "contract/RuntimeError.h"

#include <lumetto/HtmlError.h>

#include <QVariant>

#include <cstdint>

namespace contract {

class Variant;

// A member of the control or of a document object, as named in the failures it reports.
struct Member {
    int32_t dispId;  // 0 where the member is reached through an interface, not by dispatch id
    const char* name;
};

// A failed call of the control's library as the run-time error that member fails with: an
// "Automation error" naming the member, with the code of the failure's kind.
RuntimeError runtimeErrorOf(const Member& member, const lumetto::HtmlError& failure);
// Throws the run-time error of a failed call; does nothing when the call succeeded.
void check(const Member& member, const lumetto::HtmlError& failure);
// A failure the control reported where no call fails (HtmlView::errorOccurred after its call returned), as the run-time
// error of the member whose write it was, or of no member when the engine cannot start.
RuntimeError runtimeErrorOfReported(const lumetto::HtmlError& failure);

// A value the page returned, as the Variant its host sees: an invalid value is Null.
Variant fromPage(const QVariant& value);

}  // namespace contract
