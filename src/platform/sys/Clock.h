// The program's one reading of the clock. Every "today" and "now" the program uses comes
// from here, so tests can fix the date and no test depends on the real one.
#pragma once

#include <QDate>
#include <QDateTime>

namespace sys {

QDateTime now();
QDate today();
// Tests: fix the clock at a moment; an invalid QDateTime gives the real clock back.
void setClock(const QDateTime& fixed);

} // namespace sys
