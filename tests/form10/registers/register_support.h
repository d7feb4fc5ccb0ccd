// Shared by the Form 10 tests: the register screen on a program folder of its own, bills keyed
// through the real editors, and the database files read directly with SQLite.
#pragma once

#include "TestProgramFolder.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/sys/Clock.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/forms/Form.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QApplication>
#include <QDate>
#include <QFile>
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
    bool isNull() const { return type == "null"; }
    double number() const { return text.toDouble(); }
};
using Row = std::map<QString, Cell>;

inline std::vector<Row> query(const QString& file, const QString& sql)
{
    static const char* const types[] = {"", "integer", "real", "text", "blob", "null"};
    std::vector<Row> out;
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        Row& row = out.emplace_back();
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            row[sqlite3_column_name(st, c)] = {types[sqlite3_column_type(st, c)],
                                               reinterpret_cast<const char*>(sqlite3_column_text(st, c))};
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

inline void exec(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sql.toStdString();
    sqlite3_close(db);
}

inline int count(const QString& file, const QString& table, const QString& where = "1")
{
    const auto rows = query(file, QString("SELECT COUNT(*) AS n FROM %1 WHERE %2").arg(table, where));
    return rows.empty() ? -1 : rows.front().at("n").text.toInt();
}

// The schema and every row of the tables whose names are LIKE `tables`.
inline QString dump(const QString& file, const QString& tables = "%")
{
    QString out;
    for (const Row& object : query(file, QString("SELECT type, name, sql FROM sqlite_master WHERE name LIKE '%1' "
                                                 "ORDER BY name").arg(tables))) {
        out += object.at("name").text + ": " + object.at("sql").text + "\n";
        if (object.at("type").text == "table")
            for (const Row& row : query(file, QString("SELECT * FROM [%1] ORDER BY rowid").arg(object.at("name").text)))
                for (const auto& [name, cell] : row)
                    out += name + '=' + cell.type + ':' + cell.text + (name == row.rbegin()->first ? "\n" : ";");
    }
    return out;
}

inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes `bytes` over the file from `at`; from 0 the file is replaced.
inline void writeBytes(const QString& path, const QByteArray& bytes, qint64 at = 0)
{
    QFile f(path);
    ASSERT_TRUE(f.open(at ? QIODevice::ReadWrite : QIODevice::WriteOnly | QIODevice::Truncate));
    f.seek(at);
    f.write(bytes);
}

// A bill as the user keys it; rate is the picker entry's index.
struct Bill {
    QString date, party, tin, billNo;
    int rate = 0;
    QString amount, tax, cess;
};
enum PurchaseRate { P0, P1, P4, P12, P20 };     // picker entries 0, 1, 4, 12.5, 20
enum SalesRate { S0, S1, S4, S12, S20, SCST };  // and CST

// A month of bills at every rate: each purchase rate once, each sales rate once (CST last).
inline const std::vector<Bill> kPurchases = {
    {"15-03-09", "Alpha Agencies", "T1", "B1", P0, "100", "0", "0"},
    {"05-03-09", "Beta Traders", "T2", "B2", P1, "200", "2", "0.50"},
    {"20-03-09", "Gamma Stores", "T3", "B3", P4, "300", "12", "1"},
    {"01-03-09", "Delta Mills", "T4", "B4", P12, "1000", "125", "10"},
    {"10-03-09", "Epsilon & Co", "T5", "B5", P20, "50", "10", "0.25"},
};
inline const std::vector<Bill> kSales = {
    {"02-03-09", "Buyer Zero", "S1", "X1", S0, "10", "0", "0"},
    {"03-03-09", "Buyer One", "S2", "X2", S1, "20", "0.20", "0"},
    {"04-03-09", "Buyer Four", "S3", "X3", S4, "250", "10", "0.10"},
    {"05-03-09", "Buyer Twelve", "S4", "X4", S12, "80", "10", "1"},
    {"06-03-09", "Buyer Twenty", "S5", "X5", S20, "40", "8", "0.40"},
    {"07-03-09", "Buyer Outside", "S6", "X6", SCST, "100", "2", "0"},
};

// The 33 total labels: purchase amount, tax, cess per rate 0, 1, 4, 12.5, 20 (the first 15),
// then sales amount, tax, cess per rate 0, 1, 4, 12.5, CST, 20.
inline const char* const kTotalLabels[33] = {
    "Label12", "Label13", "Label14", "Label15", "Label10", "Label16", "Label17", "Label18", "Label19",
    "Label34", "Label58", "Label57", "Label56", "Label62", "Label61", "Label23", "Label22", "Label21",
    "Label20", "Label35", "Label45", "Label27", "Label26", "Label25", "Label24", "Label36", "Label44",
    "Label50", "Label49", "Label48", "Label54", "Label53", "Label52"};

inline QString currentMonth() { return vb::FormatDate(sys::today(), "mmmm"); }
inline QString today() { return vb::FormatDate(sys::today(), "dd-mm-yy"); }

// Every one of `parts` is in `text`.
inline void expectMentions(const QString& text, const QStringList& parts)
{
    for (const QString& part : parts)
        EXPECT_TRUE(text.contains(part)) << "\"" << part.toStdString() << "\" not in:\n" << text.toStdString();
}

// A program folder of its own, every message answered (`onMessage` sees it first) and recorded.
class Form10Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetModule2();
        ui::clearShownMessages();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
        resetModule2();
    }
    void click(QWidget* w)
    {
        QTest::mouseClick(w, Qt::LeftButton);
        QApplication::processEvents();
    }
    const std::vector<ui::MessageRecord>& messages() const { return ui::shownMessages(); }
    QString lastPrompt() const { return messages().empty() ? QString() : messages().back().prompt; }

    TestProgramFolder folder;
    int answer = ui::vbOK;
    std::function<void(const ui::MessageRecord&)> onMessage;
    ui::ScopedMsgBoxResponder responder{[this](const ui::MessageRecord& m) {
        if (onMessage)
            onMessage(m);
        return answer;
    }};
};

// `true` names the purchase side (fg1, txtGrid1, List2), `false` the sales side.
class RegisterScreen : public Form10Test {
protected:
    void SetUp() override
    {
        Form10Test::SetUp();
        seed();
        openScreen();
    }
    virtual void seed() {}   // rows to store before the screen loads
    void openScreen()
    {
        form = &ui::form<frmNormal>();
        form->Show(ui::vbModeless);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::processEvents();
    }
    // A bill stored straight into a register table for the dealer and a month.
    void storeBill(const char* table, const QString& month, const QString& party, const QString& rate = "4",
                   double amount = 100, double tax = 4)
    {
        exec(db, QString("INSERT INTO %1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, cCode) "
                         "VALUES ('1', '2009-09-01', '%2', '%3', %4, %5, 0, %6, '%7', '')")
                     .arg(table, party, rate).arg(amount).arg(tax).arg(amount + tax).arg(month));
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
    void clickCell(bool purchase, int row, int col)
    {
        QTest::mouseClick(grid(purchase)->viewport(), Qt::LeftButton, {}, grid(purchase)->cellRect(row, col).center());
    }
    // A click as the window system delivers it: into the window, where `w` shows `at` (its
    // middle by default), before any control has it.
    void clickInWindow(QWidget* w, QPoint at = {})
    {
        const QPoint inWindow = w->mapTo(form, at.isNull() ? w->rect().center() : at);
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, inWindow);
        QApplication::processEvents();
    }
    // Types a text over the editor's whole text and presses Enter.
    void keyCell(bool purchase, const QString& text)
    {
        fnSelectAllText(*editor(purchase));
        text.isEmpty() ? key(editor(purchase), Qt::Key_Delete) : QTest::keyClicks(editor(purchase), text);
        key(editor(purchase), Qt::Key_Return);
    }
    QPoint cell(bool purchase) const { return QPoint(grid(purchase)->Row(), grid(purchase)->Col()); }
    // The editor covers the grid's current cell exactly, in twips and on screen.
    void expectEditorOverCell(bool purchase)
    {
        ui::FlexGrid* g = grid(purchase);
        const ui::TextBox* ed = editor(purchase);
        EXPECT_TRUE(ed->isVisible());
        EXPECT_EQ(QRect(ed->Left(), ed->Top(), ed->Width(), ed->Height()),
                  QRect(g->Left() + g->CellLeft(), g->Top() + g->CellTop(), g->CellWidth(), g->CellHeight()));
        EXPECT_EQ(ed->geometry(), g->cellRect(g->Row(), g->Col()).translated(g->pos()));
    }
    // Picks the picker entry `index` with arrow keys and Enter.
    void pick(bool purchase, int index)
    {
        for (int i = 0; i < index; ++i)
            key(picker(purchase), Qt::Key_Down);
        key(picker(purchase), Qt::Key_Return);
    }
    // Keys a bill into the grid's last row (appending one if it holds a bill); ends on the next row.
    void keyBill(bool purchase, const Bill& b)
    {
        ui::FlexGrid& g = *grid(purchase);
        const int last = g.Rows() - 1;
        const bool blank = (g.TextMatrix(last, 1) + g.TextMatrix(last, 2) + g.TextMatrix(last, 5)).isEmpty();
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
    // Puts a bill straight into a grid row, as keying would leave it.
    void putBill(ui::FlexGrid& g, int row, const QString& date, const QString& party, const QString& rate,
                 const QString& amount)
    {
        g.setRows(std::max(g.Rows(), row + 1));
        const QStringList cells = {QString::number(row), date, party, "", "", rate, amount, "0.00", "0.00", amount};
        for (int c = 0; c < 10; ++c)
            g.setTextMatrix(row, c, cells[c]);
    }

    QString label(const char* name) const
    {
        auto* l = form->findChild<QLabel*>(name);
        return l ? l->text() : QString("<missing %1>").arg(name);
    }
    QString month() const { return form->txtRPTo->Text(); }
    // The program's success message with its title and icon was shown.
    bool successShown(const QString& prompt) const
    {
        for (const auto& m : messages())
            if (m.prompt == prompt && m.title == "Success...........!" && m.icon() == ui::vbInformation)
                return true;
        return false;
    }
    // Exactly one message, the program's apology naming `parts`, with the pointer back.
    void expectOneFailure(const QStringList& parts)
    {
        ASSERT_EQ(messages().size(), 1u) << lastPrompt().toStdString();
        EXPECT_EQ(messages()[0].title, "Sorry.........!");
        expectMentions(messages()[0].prompt, parts);
        EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    }
    // The only row of a table.
    Row only(const char* table)
    {
        const auto rows = query(db, QString("SELECT * FROM ") + table);
        EXPECT_EQ(rows.size(), 1u) << table;
        return rows.empty() ? Row{} : rows.front();
    }
    // Money columns hold numbers.
    void expectNumbers(const Row& row, const std::map<const char*, double>& values)
    {
        for (const auto& [column, value] : values) {
            EXPECT_EQ(row.count(column) ? row.at(column).type : "missing", "real") << column;
            EXPECT_NEAR(row.count(column) ? row.at(column).number() : 0, value, 1e-9) << column;
        }
    }

    QString db = folder.file("nwForm10DB.mdb");
    frmNormal* form = nullptr;
};

} // namespace f10test
