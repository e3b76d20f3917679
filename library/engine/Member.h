#pragma once

#include <cstdint>

namespace lumetto {

// A member of the control or of a document object, as named in the failures it reports.
struct Member {
    int32_t dispId;  // 0 where the member is reached through an interface, not by dispatch id
    const char* name;
};

}  // namespace lumetto
