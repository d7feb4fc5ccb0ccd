// What the window and control tests share: the number of a raised error.
#pragma once

#include "platform/db/Error.h"

#include <functional>

namespace formtest {

// The error number `f` raises; 0 when it raises none.
inline long errorNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ado::Error& e) {
        return e.Number();
    }
    return 0;
}

} // namespace formtest
