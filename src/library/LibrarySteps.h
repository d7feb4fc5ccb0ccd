// What the library windows' steps share: the 16-bit rounding of their layout, and the
// skip-a-failing-statement run that keeps the last failure for one report at the end of the
// step. A step that a failure ends shows it through lawdb::trapped.
#pragma once

#include "lawdb/MyMOD.h"
#include "platform/db/Error.h"
#include "platform/vb/Vb.h"

#include <QtGlobal>
#include <cmath>
#include <exception>

namespace library {

// The nearest whole number, a half going to the even neighbour, as the runtime converts into
// a 16-bit integer; a value out of range is an overflow.
inline qint16 toInteger(double value)
{
    const double r = std::nearbyint(value);   // default rounding mode: ties to even
    if (r < -32768.0 || r > 32767.0)
        ado::raiseOverflow();
    return static_cast<qint16>(r);
}

// Statements that each skip their own failure; the last failure is kept so that the step
// can report it once at its end.
class SkippedFailures {
public:
    template <class F>
    bool run(F&& statement)
    {
        try {
            statement();
            return true;
        } catch (const ado::Error& e) {
            last_ = e;
        } catch (const std::exception& e) {
            last_ = ado::Error(0, QString::fromUtf8(e.what()), QStringLiteral("Lumora"));
        }
        return false;
    }
    // Shows the last failure with `tag` when there was one with a description.
    void report(const QString& tag) const
    {
        if (lawdb::fnInDebug() && !vb::Trim(last_.Description()).isEmpty())
            lawdb::showDetailedError(tag, last_.Number(), last_.Description(), last_.Source());
    }

private:
    ado::Error last_{0, QString(), QString()};
};

} // namespace library
