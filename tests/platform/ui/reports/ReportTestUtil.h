// What the report tests share: a data file of their own with a small header table and bill
// table (written with SQLite directly) and a template over them.
#pragma once

#include "../../db/DbFixture.h"

#include <QFile>

namespace reporttest {

// A month's key row in tHead, bills in tBill.
inline const char* const kSchema = R"(
CREATE TABLE tHead (cCode TEXT, cMonth TEXT, cAddress TEXT, A0 REAL, A4 REAL, ATotal REAL);
CREATE TABLE tBill (SlNo TEXT, Party TEXT, Amount REAL, cCode TEXT, cMonth TEXT);
)";

inline const char* const kTemplate = R"(# bills of a month
lumora-report 1
title "Bill List"
header tHead
  field "Dealer" cAddress
  field "Month" cMonth name
end
detail tBill
  order SlNo
  link cCode cMonth
  column SlNo "No" 1 right
  column Party "Party" 6
  column Amount "Amount" 3 money
  empty "No bills"
end
summary tHead
  heading "Rate" "Amount"
  line "0" A0
  line "4" A4
  total "Total" ATotal
end
)";

class ReportFiles {
public:
    ReportFiles()
    {
        exec(kSchema);
        writeTemplate(kTemplate);
    }
    QString data() const { return dir_.filePath("data.mdb"); }
    QString templ() const { return dir_.filePath("Bills.rpt"); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    void exec(const QString& sql) const { dbtest::rawExec(data(), sql.toUtf8().constData()); }
    void writeTemplate(const QByteArray& text) const
    {
        QFile f(templ());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    // n bills of March for dealer D1, amount 10 * serial number.
    void bills(int n) const
    {
        QString sql = "BEGIN;";
        for (int i = 1; i <= n; ++i)
            sql += QString("INSERT INTO tBill VALUES ('%1', 'Party %1', %2, 'D1', 'March');").arg(i).arg(10 * i);
        exec(sql + "COMMIT;");
    }

private:
    QTemporaryDir dir_;
};

} // namespace reporttest
