// A shown, active top-level window for the control tests (focus events need one), a
// recorder of the events a control raises, in order, and the number of a raised error.
#pragma once

#include "platform/db/Error.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <functional>
#include <string>

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace gridtest {

class Host : public QWidget {
public:
    Host()
    {
        setObjectName("host");
        resize(900, 600);
    }
    void showActive()
    {
        show();
        activateWindow();
        QApplication::setActiveWindow(this);
        ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    }
};

struct Log {
    QStringList events;
    void add(const QString& e) { events << e; }
    std::string joined() const { return events.join(' ').toStdString(); }
    void clear() { events.clear(); }
};

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

} // namespace gridtest
