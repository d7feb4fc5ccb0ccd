// What the tests of the window base and of the controls share: the number of a raised error.
#pragma once

#include "platform/db/Error.h"

#include <functional>

namespace uitest {

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

} // namespace uitest
