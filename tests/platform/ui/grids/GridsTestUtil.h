// A shown, active top-level window for the control tests (focus events need one), and a
// recorder of the events a control raises, in order.
#pragma once

#include "../UiTestUtil.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
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

using uitest::errorNumber;

} // namespace gridtest
