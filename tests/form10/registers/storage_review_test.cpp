// Register storage and the Save/Delete commands at their edges: what the readers leave in
// the screen fields, saves of an empty screen and of a padded dealer name, failures that
// must be reported rather than end the program, and the loaders nothing calls.
#include "TestProgramFolder.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBox.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <vector>

namespace {

using Row = std::map<QString, QString>;   // column -> text; a Null column is absent

std::vector<Row> rowsOf(const QString& file, const QString& sql)
{
    std::vector<Row> out;
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK
        || sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    while (st && sqlite3_step(st) == SQLITE_ROW) {
        Row row;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            if (sqlite3_column_type(st, c) != SQLITE_NULL)
                row[QString::fromUtf8(sqlite3_column_name(st, c))] =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
        out.push_back(std::move(row));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

void run(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    char* msg = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg), SQLITE_OK)
        << sql.toStdString() << ": " << (msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close(db);
}

int rowCount(const QString& file, const QString& table)
{
    return static_cast<int>(rowsOf(file, QStringLiteral("SELECT * FROM ") + table).size());
}

class StorageReview : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetModule2();
        ui::clearShownMessages();
        form = &ui::form<frmNormal>();
        form->Show(ui::vbModeless);
        QApplication::processEvents();
        ui::clearShownMessages();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
        resetModule2();
    }
    QString month() const { return form->txtRPTo->Text(); }
    void click(QWidget* w)
    {
        QTest::mouseClick(w, Qt::LeftButton);
        QApplication::processEvents();
    }
    // Puts a bill straight into a grid row, as keying would leave it.
    void putBill(ui::FlexGrid& g, int row, const QString& date, const QString& party, const QString& rate,
                 const QString& amount)
    {
        if (g.Rows() <= row)
            g.setRows(row + 1);
        g.setTextMatrix(row, 0, QString::number(row));
        g.setTextMatrix(row, 1, date);
        g.setTextMatrix(row, 2, party);
        g.setTextMatrix(row, 5, rate);
        g.setTextMatrix(row, 6, amount);
        g.setTextMatrix(row, 7, QStringLiteral("0.00"));
        g.setTextMatrix(row, 8, QStringLiteral("0.00"));
        g.setTextMatrix(row, 9, amount);
    }
    const std::vector<ui::MessageRecord>& messages() const { return ui::shownMessages(); }

    TestProgramFolder folder;
    QString db = folder.file(QStringLiteral("nwForm10DB.mdb"));
    int answer = ui::vbOK;
    ui::ScopedMsgBoxResponder responder{[this](const ui::MessageRecord&) { return answer; }};
    frmNormal* form = nullptr;
};

TEST_F(StorageReview, ReadersKeepTheLastEntryDateAndPlaceThatAreNotNull)
{
    run(db, QStringLiteral("INSERT INTO tblPurchaseInterState1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, "
                           "NetAmount, cMonth, eDate, Place, cCode) VALUES "
                           "('7', '2009-03-02', 'First', '4', 100, 4, 104, '%1', '10-03-09', 'A', ''),"
                           "('8', '2009-03-05', 'Second', '4', 50, 2, 52, '%1', NULL, 'B', ''),"
                           "('9', '2009-03-09', 'Third', '4', 10, 0, 10, '%1', NULL, NULL, '')")
                .arg(month()));
    form->txtDate->setText(QStringLiteral("01-01-01"));
    form->txtPlace->setText(QStringLiteral("Before"));
    form->procReadPurchaseInterState();
    EXPECT_EQ(form->txtDate->Text(), QStringLiteral("10-03-09"));
    EXPECT_EQ(form->txtPlace->Text(), QStringLiteral("B"));
    ASSERT_EQ(form->fg1->Rows(), 4);
    EXPECT_EQ(form->fg1->TextMatrix(3, 0), QStringLiteral("3"));
    EXPECT_EQ(form->fg1->TextMatrix(3, 2), QStringLiteral("Third"));
    // Cess is Null in every row: its cells stay empty.
    EXPECT_TRUE(form->fg1->TextMatrix(1, 8).isEmpty());
    EXPECT_TRUE(form->fg1->TextMatrix(3, 8).isEmpty());
    EXPECT_EQ(form->fg1->TextMatrix(3, 9), QStringLiteral("10.00"));
    EXPECT_EQ(form->txtTotal->Text(), QStringLiteral("166.00"));

    // The sales reader leaves both fields alone.
    run(db, QStringLiteral("INSERT INTO tblSales (SlNo, BillDate, Party, RateOfTax, Amount, cMonth, eDate, cCode) "
                           "VALUES ('1', '2009-03-02', 'Buyer', 'CST', 5, '%1', '31-03-09', '')")
                .arg(month()));
    form->procReadSales_1();
    EXPECT_EQ(form->txtDate->Text(), QStringLiteral("10-03-09"));
    EXPECT_EQ(form->fg2->TextMatrix(1, 5), QStringLiteral("CST"));
    EXPECT_EQ(form->fg2->TextMatrix(1, 6), QStringLiteral("5.00"));
}

TEST_F(StorageReview, ARowStoredWithoutAmountsReadsBackWithoutATotal)
{
    run(db, QStringLiteral("INSERT INTO tblSales (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, "
                           "cMonth, cCode) VALUES "
                           "('1', '2009-03-01', 'Full', '4', 100, 4, 0, 104, '%1', ''),"
                           "('2', '2009-03-02', 'Bare', NULL, NULL, NULL, NULL, NULL, '%1', '')")
                .arg(month()));
    // The user was somewhere in the grid's amounts when the month was read.
    form->fg2->setRow(1);
    form->fg2->setCol(7);
    form->procReadSales_1();
    ASSERT_EQ(form->fg2->Rows(), 3);
    EXPECT_EQ(form->fg2->TextMatrix(1, 9), QStringLiteral("104.00"));
    EXPECT_EQ(form->fg2->TextMatrix(2, 2), QStringLiteral("Bare"));
    for (int c = 5; c <= 9; ++c)
        EXPECT_TRUE(form->fg2->TextMatrix(2, c).isEmpty()) << c;
    EXPECT_EQ(form->fg2->Row(), 2);
    EXPECT_EQ(form->fg2->Col(), 1);
    EXPECT_EQ(form->txtGrid2->Text(), QStringLiteral("02-03-09"));
}

TEST_F(StorageReview, SavingAnEmptyScreenStoresBareRowsAndAZeroSummary)
{
    form->txtPlace->setText(QString());
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, QStringLiteral("RECORD ADDED  SUCCESSFULLY"));

    const auto purchases = rowsOf(db, QStringLiteral("SELECT * FROM tblPurchase1"));
    ASSERT_EQ(purchases.size(), 1u);
    EXPECT_EQ(purchases[0].at(QStringLiteral("SlNo")), QStringLiteral("1"));
    EXPECT_EQ(purchases[0].count(QStringLiteral("Party")), 0u);
    EXPECT_EQ(purchases[0].count(QStringLiteral("BillDate")), 0u);
    EXPECT_EQ(purchases[0].count(QStringLiteral("Place")), 0u);   // empty place: Null
    EXPECT_EQ(purchases[0].at(QStringLiteral("cCode")), QString());
    EXPECT_EQ(purchases[0].at(QStringLiteral("cMonth")), month());
    EXPECT_EQ(rowCount(db, QStringLiteral("tblSales")), 1);

    const auto common = rowsOf(db, QStringLiteral("SELECT * FROM tblCommon"));
    ASSERT_EQ(common.size(), 1u);
    EXPECT_EQ(common[0].at(QStringLiteral("PTA12")).toDouble(), 0.0);
    EXPECT_EQ(common[0].at(QStringLiteral("RT20")).toDouble(), 0.0);
    EXPECT_EQ(common[0].at(QStringLiteral("Place")), QString());

    // The grids read back one empty row numbered 1.
    EXPECT_EQ(form->fg1->Rows(), 2);
    EXPECT_EQ(form->fg1->TextMatrix(1, 0), QStringLiteral("1"));
    for (int c = 1; c <= 9; ++c) {
        EXPECT_TRUE(form->fg1->TextMatrix(1, c).isEmpty()) << c;
        EXPECT_TRUE(form->fg2->TextMatrix(1, c).isEmpty()) << c;
    }
    EXPECT_TRUE(form->txtGrid1->Text().isEmpty());
    // Saved again, the bare rows stay bare.
    click(form->cmdAdd);
    const auto again = rowsOf(db, QStringLiteral("SELECT * FROM tblPurchase1"));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].count(QStringLiteral("NetAmount")), 0u);
    EXPECT_EQ(again[0].count(QStringLiteral("Amount")), 0u);
    const auto summary = rowsOf(db, QStringLiteral("SELECT * FROM tblRptPurchaseC"));
    ASSERT_EQ(summary.size(), 1u);
    EXPECT_EQ(summary[0].at(QStringLiteral("PCTTotal")).toDouble(), 0.0);
}

TEST_F(StorageReview, APaddedDealerNameKeysTheReportRowsAsShownAndTheBillListsTrimmed)
{
    Module2().DealerName = QStringLiteral("  Padded Dealer ");
    form->lblCustomerName->setText(Module2().DealerName);
    putBill(*form->fg1, 1, QStringLiteral("02-03-09"), QStringLiteral("Seller"), QStringLiteral("4"),
            QStringLiteral("100.00"));
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt, QStringLiteral("RECORD ADDED  SUCCESSFULLY"));

    const auto key = rowsOf(db, QStringLiteral("SELECT * FROM tblRptPurchaseC"));
    ASSERT_EQ(key.size(), 1u);
    EXPECT_EQ(key[0].at(QStringLiteral("cAddress")), QStringLiteral("  Padded Dealer "));
    EXPECT_EQ(key[0].at(QStringLiteral("PCTAmt")).toDouble(), 100.0);
    const auto bills = rowsOf(db, QStringLiteral("SELECT * FROM tblRptPurchase1"));
    ASSERT_EQ(bills.size(), 1u);
    EXPECT_EQ(bills[0].at(QStringLiteral("cAddress")), QStringLiteral("Padded Dealer"));
    EXPECT_EQ(rowsOf(db, QStringLiteral("SELECT * FROM tblCommon"))[0].at(QStringLiteral("cAddress")),
              QStringLiteral("  Padded Dealer "));
}

TEST_F(StorageReview, ABadDateInTheSalesGridNamesThatGridAndRow)
{
    putBill(*form->fg2, 1, QStringLiteral("02-03-09"), QStringLiteral("Buyer"), QStringLiteral("4"),
            QStringLiteral("10.00"));
    putBill(*form->fg2, 2, QStringLiteral("30-02-09"), QStringLiteral("Buyer 2"), QStringLiteral("4"),
            QStringLiteral("20.00"));
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.contains(QStringLiteral("row 2 of the sales grid")))
        << messages()[0].prompt.toStdString();
    EXPECT_EQ(rowCount(db, QStringLiteral("tblSales")), 0);
    EXPECT_EQ(rowCount(db, QStringLiteral("tblPurchase1")), 0);
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}

TEST_F(StorageReview, ARowTheDatabaseRefusesIsNamedAsTheUserKeyedIt)
{
    // Row 2 is blank and leaves the grid while row 1 is written, so the refused bill sits
    // in row 2 when it is written; after the rollback the user sees it in row 3 again.
    putBill(*form->fg1, 1, QStringLiteral("01-03-09"), QStringLiteral("Alpha"), QStringLiteral("4"),
            QStringLiteral("10.00"));
    form->fg1->setRows(4);
    putBill(*form->fg1, 3, QStringLiteral("02-03-09"), QStringLiteral("Refused Co"), QStringLiteral("4"),
            QStringLiteral("20.00"));
    run(db, QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tblPurchase1 WHEN NEW.Party = 'Refused Co' "
                           "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    const QString prompt = messages()[0].prompt;
    EXPECT_TRUE(prompt.contains(QStringLiteral("row 3 of the purchase grid (bill dated 02-03-09, Refused Co)")))
        << prompt.toStdString();
    EXPECT_TRUE(prompt.contains(QStringLiteral("writing the local purchase register"))) << prompt.toStdString();
    EXPECT_EQ(rowCount(db, QStringLiteral("tblPurchase1")), 0);
    EXPECT_EQ(form->fg1->Rows(), 4);
    EXPECT_EQ(form->fg1->TextMatrix(3, 2), QStringLiteral("Refused Co"));
}

TEST_F(StorageReview, ASaveWithoutItsDatabaseIsReportedAndKeepsTheGrids)
{
    putBill(*form->fg1, 1, QStringLiteral("02-03-09"), QStringLiteral("Seller"), QStringLiteral("4"),
            QStringLiteral("100.00"));
    resetModule2();
    ASSERT_TRUE(QFile::remove(db));
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.contains(QStringLiteral("not saved"))) << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].title, QStringLiteral("Sorry.........!"));
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), QStringLiteral("Seller"));
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    EXPECT_FALSE(QFile::exists(db));   // never created by a save
}

TEST_F(StorageReview, ADeleteThatFailsIsReportedAndTheScreenStays)
{
    click(form->cmdAdd);
    ui::clearShownMessages();
    run(db, QStringLiteral("DROP TABLE tblSales"));
    answer = ui::vbYes;
    click(form->cmdDelete);
    // The purchase rows go; the sales test fails and says so.
    EXPECT_EQ(rowCount(db, QStringLiteral("tblPurchase1")), 0);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, QStringLiteral(" Are you Sure "));
    EXPECT_EQ(messages()[1].title, QStringLiteral("Sorry.........!"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(StorageReview, DeleteByEnterAsksTheSameQuestionAndDeletes)
{
    putBill(*form->fg2, 1, QStringLiteral("02-03-09"), QStringLiteral("Buyer"), QStringLiteral("4"),
            QStringLiteral("10.00"));
    click(form->cmdAdd);
    ui::clearShownMessages();
    answer = ui::vbYes;
    QTest::keyClick(form->cmdDelete, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].title, QStringLiteral("Delete Local Purchase Records "));
    EXPECT_EQ(messages()[0].buttons, ui::vbYesNo + ui::vbQuestion);
    EXPECT_EQ(messages()[1].title, QStringLiteral("Delete Sales Records "));
    EXPECT_EQ(rowCount(db, QStringLiteral("tblSales")), 0);
    EXPECT_EQ(rowCount(db, QStringLiteral("tblPurchase1")), 0);
}

TEST_F(StorageReview, NoPurchaseListChoiceSavesTheInterStateRegister)
{
    form->List4->setListIndex(-1);
    putBill(*form->fg1, 1, QStringLiteral("02-03-09"), QStringLiteral("Far Seller"), QStringLiteral("12.5"),
            QStringLiteral("80.00"));
    form->cmdAdd_Click();
    EXPECT_EQ(rowCount(db, QStringLiteral("tblPurchaseInterState1")), 1);
    EXPECT_EQ(rowCount(db, QStringLiteral("tblPurchase1")), 0);
    EXPECT_EQ(rowCount(db, QStringLiteral("tblRptPurchaseInterState")), 1);
    const auto inter = rowsOf(db, QStringLiteral("SELECT * FROM tblRptPurchaseInterStateC"));
    ASSERT_EQ(inter.size(), 1u);
    EXPECT_EQ(inter[0].at(QStringLiteral("PRT12")).toDouble(), 80.0);
}

TEST_F(StorageReview, TheCommonCopyAppendsAndTheOlderPurchaseCopyAddsRows)
{
    click(form->cmdAdd);
    run(db, QStringLiteral("UPDATE tblCommon SET PTA4 = 7, STACST = 3, Category = 'General'"));
    form->procLoadRptCommon();
    form->procLoadRptCommon();
    const auto copies = rowsOf(db, QStringLiteral("SELECT * FROM tblRptCommon"));
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].at(QStringLiteral("Category")), QStringLiteral("General"));
    EXPECT_EQ(copies[0].at(QStringLiteral("STACST")).toDouble(), 3.0);
    EXPECT_EQ(copies[0].at(QStringLiteral("cMonth")), month());

    run(db, QStringLiteral("DELETE FROM tblRptPurchaseC"));
    form->procRptPurchase();
    const auto older = rowsOf(db, QStringLiteral("SELECT * FROM tblRptPurchaseC"));
    ASSERT_EQ(older.size(), 1u);
    EXPECT_EQ(older[0].at(QStringLiteral("STACST")).toDouble(), 3.0);

    // Without a summary row for the month neither adds anything.
    run(db, QStringLiteral("DELETE FROM tblCommon"));
    form->procLoadRptCommon();
    form->procRptPurchase();
    EXPECT_EQ(rowCount(db, QStringLiteral("tblRptCommon")), 2);
    EXPECT_EQ(rowCount(db, QStringLiteral("tblRptPurchaseC")), 1);
}

} // namespace
