// The hourglass: one setting, restored on every path (use the guard).
#pragma once

namespace ui {

enum MousePointerKind { vbDefault = 0, vbHourglass = 11 };

void setMousePointer(int kind);
int mousePointer();

class HourglassGuard {
public:
    HourglassGuard() { setMousePointer(vbHourglass); }
    ~HourglassGuard() { setMousePointer(vbDefault); }
};

} // namespace ui
