// What the platform tests share: the error a step raises, and its number.
#pragma once

#include "platform/db/Error.h"

#include <functional>

namespace uitest {

// The error `f` raises; one numbered 0 when it raises none.
inline ado::Error caught(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ado::Error& e) {
        return e;
    }
    return ado::Error(0, {});
}

inline long errorNumber(const std::function<void()>& f) { return caught(f).Number(); }

} // namespace uitest
