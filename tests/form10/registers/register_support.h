// Shared by the register-screen, storage, command and report tests: the register screen
// shown on a program folder of its own, every message answered and recorded, bills keyed
// through the real editors and pickers, and the Form 10 database file read directly (with
// SQLite's own storage classes, not through the program's database layer).
#pragma once

#include "TestProgramFolder.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBox.h"
#include "platform/vb/Vb.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <map>
#include <vector>

namespace f10test {

// One stored value: its storage class ("null", "integer", "real", "text") and its text.
struct Cell {
    QString type, text;
    bool isNull() const { return type == QLatin1String("null"); }
    double number() const { return text.toDouble(); }
};
using Row = std::map<QString, Cell>;

inline std::vector<Row> query(const QString& file, const QString& sql)
{
    static const char* const types[] = {"", "integer", "real", "text", "blob", "null"};
    std::vector<Row> out;
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        Row row;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            row[QString::fromUtf8(sqlite3_column_name(st, c))] = {
                QLatin1String(types[sqlite3_column_type(st, c)]),
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)))};
        out.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

inline void exec(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    char* msg = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg), SQLITE_OK)
        << sql.toStdString() << ": " << (msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close(db);
}

inline int count(const QString& file, const QString& table, const QString& where = QStringLiteral("1"))
{
    const auto rows = query(file, QStringLiteral("SELECT COUNT(*) AS n FROM %1 WHERE %2").arg(table, where));
    return rows.empty() ? -1 : rows.front().at(QStringLiteral("n")).text.toInt();
}

// Everything stored in the tables a save touches: equal before and after a save that must
// change nothing.
inline QString dumpTables(const QString& file)
{
    QString out;
    for (const char* t : {"tblPurchase1", "tblPurchaseInterState1", "tblSales", "tblCommon", "tblRptPurchase1",
                          "tblRptPurchaseInterState", "tblRptSales1", "tblRptPurchaseC", "tblRptPurchaseInterStateC",
                          "tblRptSales"}) {
        out += QStringLiteral("[%1]\n").arg(QLatin1String(t));
        for (const Row& row : query(file, QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(t)))) {
            for (const auto& [name, cell] : row)
                out += name + QLatin1Char('=') + cell.type + QLatin1Char(':') + cell.text + QLatin1Char(';');
            out += QLatin1Char('\n');
        }
    }
    return out;
}

// A bill as the user keys it; rate is the picker entry's index.
struct Bill {
    QString date, party, tin, billNo;
    int rate = 0;
    QString amount, tax, cess;
};
// Purchase picker entries 0..4: 0, 1, 4, 12.5, 20. Sales: 0, 1, 4, 12.5, 20, CST.
enum PurchaseRate { P0, P1, P4, P12, P20 };
enum SalesRate { S0, S1, S4, S12, S20, SCST };

inline QString currentMonth() { return vb::FormatDate(QDate::currentDate(), QStringLiteral("mmmm")); }
inline QString today() { return vb::FormatDate(QDate::currentDate(), QStringLiteral("dd-mm-yy")); }

// `true` names the purchase side (fg1, txtGrid1, List2), `false` the sales side.
class RegisterScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetModule2();
        ui::clearShownMessages();
        seed();
        openScreen();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
        resetModule2();
    }
    // Rows to store before the screen loads.
    virtual void seed() {}
    // One stored bill of a register for the empty dealer code.
    void storeBill(const char* table, const QString& month, const char* date, const char* party, const char* rate,
                   double amount, double tax)
    {
        exec(db, QStringLiteral("INSERT INTO %1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, "
                                "cMonth, cCode) VALUES ('1', '%2', '%3', '%4', %5, %6, 0, %7, '%8', '')")
                     .arg(QLatin1String(table), QLatin1String(date), QLatin1String(party), QLatin1String(rate))
                     .arg(amount).arg(tax).arg(amount + tax).arg(month));
    }
    void openScreen()
    {
        form = &ui::form<frmNormal>();
        form->Show(ui::vbModeless);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::processEvents();
    }

    ui::FlexGrid* grid(bool purchase) const { return purchase ? form->fg1 : form->fg2; }
    ui::TextBox* editor(bool purchase) const { return purchase ? form->txtGrid1 : form->txtGrid2; }
    ui::ListBox* picker(bool purchase) const { return purchase ? form->List2 : form->List3; }
    void focus(QWidget* w)
    {
        w->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, k, m); }
    void click(QWidget* w)
    {
        QTest::mouseClick(w, Qt::LeftButton);
        QApplication::processEvents();
    }
    // Types a text over the editor's whole text and presses Enter.
    void keyCell(bool purchase, const QString& text)
    {
        ui::TextBox* ed = editor(purchase);
        fnSelectAllText(*ed);
        if (text.isEmpty())
            key(ed, Qt::Key_Delete);
        else
            QTest::keyClicks(ed, text);
        key(ed, Qt::Key_Return);
    }
    // Picks the picker entry `index` with arrow keys and Enter.
    void pick(bool purchase, int index)
    {
        for (int i = 0; i < index; ++i)
            key(picker(purchase), Qt::Key_Down);
        key(picker(purchase), Qt::Key_Return);
    }
    // Keys a bill cell by cell into the grid's empty last row (Enter past the last row's
    // total appends one when it holds a bill); ends in column 1 of the row after.
    void keyBill(bool purchase, const Bill& b)
    {
        ui::FlexGrid& g = *grid(purchase);
        const int last = g.Rows() - 1;
        const bool blank = g.TextMatrix(last, 1).isEmpty() && g.TextMatrix(last, 2).isEmpty()
                           && g.TextMatrix(last, 5).isEmpty();
        focus(editor(purchase));
        g.setRow(last);
        g.setCol(blank ? 1 : 9);
        if (!blank)
            key(editor(purchase), Qt::Key_Return);
        for (const QString& text : {b.date, b.party, b.tin, b.billNo})
            keyCell(purchase, text);
        pick(purchase, b.rate);
        for (const QString& text : {b.amount, b.tax, b.cess})
            keyCell(purchase, text);
        key(editor(purchase), Qt::Key_Return);   // past the row total
    }
    void keyBills(bool purchase, const std::vector<Bill>& bills)
    {
        for (const Bill& b : bills)
            keyBill(purchase, b);
    }

    QString label(const char* name) const
    {
        auto* l = form->findChild<QLabel*>(QLatin1String(name));
        return l ? l->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }
    QString month() const { return form->txtRPTo->Text(); }
    const std::vector<ui::MessageRecord>& messages() const { return ui::shownMessages(); }
    QString lastPrompt() const { return messages().empty() ? QString() : messages().back().prompt; }

    TestProgramFolder folder;
    QString db = folder.file(QStringLiteral("nwForm10DB.mdb"));
    int answer = ui::vbOK;
    std::function<void(const ui::MessageRecord&)> onMessage;
    ui::ScopedMsgBoxResponder responder{[this](const ui::MessageRecord& m) {
        if (onMessage)
            onMessage(m);
        return answer;
    }};
    frmNormal* form = nullptr;
};

} // namespace f10test
