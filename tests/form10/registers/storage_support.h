// Shared by the storage, command and report tests: a register screen on a program folder
// of its own, keying bills through the grids with real keys, and reading the Form 10
// database file directly (not through the program's database layer).
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

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace storetest {

// One value as SQLite holds it: its storage class ("null", "integer", "real", "text") and
// its text.
struct Cell {
    QString type;
    QString text;
    bool isNull() const { return type == QLatin1String("null"); }
    double number() const { return text.toDouble(); }
};
using Row = std::map<QString, Cell>;

// Runs a query on the file with a connection of its own; every column comes back with its
// storage class.
inline std::vector<Row> query(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    std::vector<Row> out;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << file.toStdString();
        sqlite3_close(db);
        return out;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "bad query " << sql.toStdString() << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return out;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        Row row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            Cell cell;
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_NULL: cell.type = QStringLiteral("null"); break;
            case SQLITE_INTEGER: cell.type = QStringLiteral("integer"); break;
            case SQLITE_FLOAT: cell.type = QStringLiteral("real"); break;
            case SQLITE_BLOB: cell.type = QStringLiteral("blob"); break;
            default: cell.type = QStringLiteral("text"); break;
            }
            if (!cell.isNull())
                cell.text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            row[QString::fromUtf8(sqlite3_column_name(st, c))] = cell;
        }
        out.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

// Runs a statement on the file with a connection of its own.
inline void exec(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    char* msg = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg);
    EXPECT_EQ(rc, SQLITE_OK) << sql.toStdString() << ": " << (msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close(db);
}

inline int count(const QString& file, const QString& table, const QString& where = QString())
{
    const auto rows = query(file, QStringLiteral("SELECT COUNT(*) AS n FROM ") + table
                                      + (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
    return rows.empty() ? -1 : rows.front().at(QStringLiteral("n")).text.toInt();
}

// Everything stored in the tables a save touches, as text: equal before and after a save
// that must change nothing.
inline QString dumpTables(const QString& file)
{
    static const char* const tables[] = {"tblPurchase1", "tblPurchaseInterState1", "tblSales", "tblCommon",
                                         "tblRptPurchase1", "tblRptPurchaseInterState", "tblRptSales1",
                                         "tblRptPurchaseC", "tblRptPurchaseInterStateC", "tblRptSales"};
    QString out;
    for (const char* t : tables) {
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
enum PurchaseRate { P0 = 0, P1 = 1, P4 = 2, P12 = 3, P20 = 4 };
enum SalesRate { S0 = 0, S1 = 1, S4 = 2, S12 = 3, S20 = 4, SCST = 5 };

// A register screen shown on a fresh program folder; messages answered by `answer`.
class ScreenFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::make_unique<TestProgramFolder>();
        db = folder->file(QStringLiteral("nwForm10DB.mdb"));
        resetModule2();
        responder = std::make_unique<ui::ScopedMsgBoxResponder>([this](const ui::MessageRecord& m) {
            if (onMessage)
                onMessage(m);
            return answer;
        });
        ui::clearShownMessages();
        openScreen();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
        responder.reset();
        resetModule2();
        folder.reset();
    }

    void openScreen()
    {
        screen = &ui::form<frmNormal>();
        screen->Show();
        QApplication::processEvents();
    }

    ui::TextBox& editor(bool purchase) { return purchase ? *screen->txtGrid1 : *screen->txtGrid2; }
    ui::FlexGrid& grid(bool purchase) { return purchase ? *screen->fg1 : *screen->fg2; }

    // Types a text into the cell editor over the current cell, replacing what it holds,
    // and presses Enter.
    void typeCell(bool purchase, const QString& text)
    {
        ui::TextBox& ed = editor(purchase);
        ed.selectAll();
        if (text.isEmpty())
            QTest::keyClick(&ed, Qt::Key_Delete);
        else
            QTest::keyClicks(&ed, text);
        QTest::keyClick(&ed, Qt::Key_Return);
    }

    // Makes column 1 of an empty last row current: the last row itself when it is blank,
    // else a row appended by Enter past its row total.
    void goToNewRow(bool purchase)
    {
        ui::FlexGrid& g = grid(purchase);
        const int last = g.Rows() - 1;
        const bool blank = g.TextMatrix(last, 1).isEmpty() && g.TextMatrix(last, 2).isEmpty()
                           && g.TextMatrix(last, 5).isEmpty();
        if (g.Row() == last && g.Col() == 1 && blank)
            return;
        g.setRow(last);
        if (blank) {
            g.setCol(1);
            return;
        }
        g.setCol(9);
        QTest::keyClick(&editor(purchase), Qt::Key_Return);
    }

    // Keys one bill into the row whose Bill Date cell is current, ending on column 1 of the
    // next row (Enter on the row total appends it when needed).
    void keyBill(bool purchase, const Bill& b)
    {
        goToNewRow(purchase);
        typeCell(purchase, b.date);
        typeCell(purchase, b.party);
        typeCell(purchase, b.tin);
        typeCell(purchase, b.billNo);   // lands in the rate cell with the picker dropped
        ui::ListBox& picker = purchase ? *screen->List2 : *screen->List3;
        for (int i = 0; i < b.rate; ++i)
            QTest::keyClick(&picker, Qt::Key_Down);
        QTest::keyClick(&picker, Qt::Key_Return);
        typeCell(purchase, b.amount);
        typeCell(purchase, b.tax);
        typeCell(purchase, b.cess);
        QTest::keyClick(&editor(purchase), Qt::Key_Return);   // past the row total
    }

    void keyBills(bool purchase, const std::vector<Bill>& bills)
    {
        for (const Bill& b : bills)
            keyBill(purchase, b);
    }

    void chooseInterState()
    {
        screen->List4->setListIndex(1);
        QApplication::processEvents();
    }

    void clickSave()
    {
        QTest::mouseClick(screen->cmdAdd, Qt::LeftButton);
        QApplication::processEvents();
    }
    void clickDelete()
    {
        QTest::mouseClick(screen->cmdDelete, Qt::LeftButton);
        QApplication::processEvents();
    }

    QString month() const { return screen->txtRPTo->Text(); }
    const std::vector<ui::MessageRecord>& messages() const { return ui::shownMessages(); }
    QString lastPrompt() const { return ui::shownMessages().empty() ? QString() : ui::shownMessages().back().prompt; }

    std::unique_ptr<TestProgramFolder> folder;
    std::unique_ptr<ui::ScopedMsgBoxResponder> responder;
    QString db;
    frmNormal* screen = nullptr;
    int answer = ui::vbOK;
    std::function<void(const ui::MessageRecord&)> onMessage;
};

} // namespace storetest
