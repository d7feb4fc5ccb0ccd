#include "platform/ui/controls/Timer.h"

namespace ui {

Timer::Timer(const QString& objectName, QObject* parent, int interval, bool enabled)
    : QObject(parent), interval_(interval), enabled_(enabled)
{
    setObjectName(objectName);
    connect(&timer_, &QTimer::timeout, this, [this] { emit Tick(); });
    apply();
}

void Timer::setInterval(int ms)
{
    interval_ = ms;
    apply();
}

void Timer::setEnabled(bool enabled)
{
    enabled_ = enabled;
    apply();
}

// Setting either property restarts the count, as the program's timers do.
void Timer::apply()
{
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

} // namespace ui
