// Register readers and writers, amounts too large to be numbers, and a decimal-comma locale.
#include "register_support.h"

#include "DecimalCommaLocale.h"

#include <QRegularExpression>

using namespace f10test;

namespace {

using StorageTest = RegisterScreen;

TEST_F(StorageTest, ReadersFillTheGridsInBillDateOrderAndEndWhenTheirTableIsMissing)
{
    exec(db, QString("INSERT INTO tblPurchaseInterState1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, NetAmount, "
                     "cMonth, eDate, Place, cCode) VALUES "
                     "('7', '2009-03-09', 'Third', '4', 10, 0, 10, '%1', NULL, NULL, ''),"
                     "('8', '2009-03-02', 'First', '4', 1234.5, 4, 1238.5, '%1', '10-03-09', 'A', ''),"
                     "('9', '2009-03-05', 'Second', '4', 50, 2, 52, '%1', NULL, 'B', ''),"
                     "('1', '2009-03-01', 'Other dealer', '4', 1, 0, 1, '%1', '01-03-09', 'C', 'X')").arg(month()));
    form->txtDate->setText("01-01-01");
    form->txtPlace->setText("Before");
    form->procReadPurchaseInterState();
    // The last date and place that are not Null are kept.
    EXPECT_EQ(form->txtDate->Text() + "|" + form->txtPlace->Text(), "10-03-09|B");
    ui::FlexGrid& g = *form->fg1;
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.TextMatrix(1, 0) + g.TextMatrix(1, 1) + "|" + g.TextMatrix(1, 2) + "|" + g.TextMatrix(1, 6),
              "102-03-09|First|1234.50");
    EXPECT_EQ(g.TextMatrix(3, 0) + g.TextMatrix(3, 2) + "|" + g.TextMatrix(3, 8) + "|" + g.TextMatrix(3, 9),
              "3Third||10.00");   // a Null cess leaves its cell empty
    EXPECT_EQ(g.TextMatrix(0, 6), "Amount");   // the header row untouched
    EXPECT_EQ(form->txtTotal->Text(), "1300.50");

    // The sales reader leaves both fields alone; a row stored without amounts reads back
    // without a total, and the user, somewhere in the amounts, lands on the last row's date.
    exec(db, QString("INSERT INTO tblSales (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, "
                     "eDate, cCode) VALUES ('1', '2009-03-01', 'Full', 'CST', 100, 4, 0, 104, '%1', '31-03-09', ''),"
                     "('2', '2009-03-02', 'Bare', NULL, NULL, NULL, NULL, NULL, '%1', NULL, '')").arg(month()));
    form->fg2->setRow(1);
    form->fg2->setCol(7);
    form->procReadSales_1();
    EXPECT_EQ(form->txtDate->Text(), "10-03-09");
    ASSERT_EQ(form->fg2->Rows(), 3);
    EXPECT_EQ(form->fg2->TextMatrix(1, 5) + "|" + form->fg2->TextMatrix(1, 9), "CST|104.00");
    EXPECT_EQ(form->fg2->TextMatrix(2, 2), "Bare");
    for (int c = 5; c <= 9; ++c)
        EXPECT_EQ(form->fg2->TextMatrix(2, c), "") << c;
    EXPECT_EQ(cell(false), QPoint(2, 1));
    EXPECT_EQ(form->txtGrid2->Text(), "02-03-09");

    // Its table gone, the reader ends with one empty row and a zero total.
    exec(db, "DROP TABLE tblSales");
    form->procReadSales_1();
    EXPECT_EQ(form->fg2->Rows(), 2);
    EXPECT_EQ(form->fg2->TextMatrix(1, 0) + form->fg2->TextMatrix(1, 2) + form->fg2->TextMatrix(1, 9), "1");
    EXPECT_EQ(form->txtTotal2->Text(), "0.00");
    EXPECT_FALSE(form->fnRecordExistsNormal("tblPurchase1"));
}

TEST_F(StorageTest, OfTwoBlankRowsAfterABillTheFirstGoesAndTheSecondIsStoredBare)
{
    ui::FlexGrid& g = *form->fg1;
    putBill(g, 1, "26-09-08", " Padded ", "      4", "10.00");
    g.setTextMatrix(1, 3, "   ");
    g.setRows(4);
    g.setTextMatrix(2, 0, "2");
    g.setTextMatrix(3, 0, "3");
    form->procWritePurchase();
    const auto rows = query(db, "SELECT * FROM tblPurchase1 ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("BillDate").text + "|" + rows[0].at("Party").text, "2008-09-26| Padded ");   // as the cell holds it
    EXPECT_TRUE(rows[0].at("TIN").isNull());   // blanks only: not written
    EXPECT_EQ(rows[1].at("SlNo").text + rows[1].at("cMonth").text, "2" + month());
    EXPECT_TRUE(rows[1].at("Party").isNull() && rows[1].at("BillDate").isNull());
    EXPECT_EQ(g.Rows(), 3);
}

// No text the screen shows is an infinity.
void expectNoInfinity(const frmNormal& form)
{
    static const QRegularExpression infinity("\\b(inf|nan)\\b", QRegularExpression::CaseInsensitiveOption);
    QStringList shown = {form.txtTotal->Text(), form.txtTotal2->Text()};
    for (const ui::FlexGrid* g : {form.fg1, form.fg2})
        for (int r = 0; r < g->Rows(); ++r)
            for (int c = 0; c < g->Cols(); ++c)
                shown << g->TextMatrix(r, c);
    for (const QLabel* l : form.findChildren<QLabel*>())
        shown << l->text();
    for (const QString& text : shown)
        EXPECT_FALSE(text.contains(infinity)) << text.toStdString();
}

TEST_F(StorageTest, AnAmountTooLargeToBeANumberIsRefusedAndTheCellKeepsItsValue)
{
    keyBill(true, {"02-03-09", "Alpha Agencies", "T1", "B1", P4, "100", "4", "0"});
    ui::clearShownMessages();
    focus(editor(true));
    grid(true)->setRow(1);
    grid(true)->setCol(6);
    const QString huge(400, '9');
    // Enter, an arrow key and a click elsewhere: the cell keeps its value, the text waits.
    const std::function<void()> leaves[] = {[&] { keyCell(true, huge); }, [&] { key(editor(true), Qt::Key_Down); },
                                            [&] { clickCell(true, 1, 2); }};
    for (const auto& leave : leaves) {
        leave();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].prompt.startsWith("\"" + huge + "\" in row 1 of the purchase grid, column Amount, is too large."));
        ui::clearShownMessages();
        EXPECT_EQ(cell(true), QPoint(1, 6));
        EXPECT_EQ(grid(true)->TextMatrix(1, 6) + "|" + grid(true)->TextMatrix(1, 9) + "|" + label("Label14"),
                  "100.00|104.00|100.00");
        EXPECT_EQ(editor(true)->Text(), huge);
        expectNoInfinity(*form);
    }
    keyCell(true, "250");   // corrected
    EXPECT_TRUE(messages().empty());
    click(form->cmdAdd);
    EXPECT_EQ(lastPrompt(), "RECORD ADDED  SUCCESSFULLY");
    expectNumbers(only("tblCommon"), {{"PTA4", 250}, {"PTT4", 4}, {"RT4", 254}});
}

TEST_F(StorageTest, AmountsTooLargeToAddUpFromAnOlderFileShowNoInfinityAndSaveRefusesThem)
{
    exec(db, QString("INSERT INTO tblPurchase1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, "
                     "cCode) VALUES ('1', '2009-03-02', 'Alpha Agencies', '4', 1e308, 1e308, 0, NULL, '%1', '')")
                 .arg(month()));
    form->procReadPurchase();
    const QString big = vb::Format00(1e308);
    EXPECT_EQ(grid(true)->TextMatrix(1, 6) + "|" + label("Label14"), big + "|" + big);
    grid(true)->setCol(9);
    EXPECT_EQ(grid(true)->TextMatrix(1, 9), "");   // no number: the total cannot be added up
    expectNoInfinity(*form);

    const QString before = dump(db);
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("\"" + big + "\" in row 1 of the purchase grid, column Amount, is too large."));
    EXPECT_TRUE(messages()[0].prompt.endsWith("Nothing was saved."));
    expectNoInfinity(*form);
    EXPECT_EQ(dump(db), before);
}

TEST_F(StorageTest, AMonthSavedUnderADecimalCommaLocaleStoresTheSameFigures)
{
    keyBills(true, {{"02-03-09", "Alpha Agencies", "T1", "B1", P0, "100.75", "0", "0.05"},
                    {"03-03-09", "Beta Traders", "T2", "B2", P1, "200.50", "2.01", "0.50"},
                    {"04-03-09", "Gamma Stores", "T3", "B3", P4, "9811.00", "392.44", "3.92"},
                    {"05-03-09", "Delta Mills", "T4", "B4", P12, "1000.10", "125.01", "10.25"},
                    {"06-03-09", "Epsilon & Co", "T5", "B5", P20, "50.50", "10.10", "0.25"}});
    keyBills(false, {{"07-03-09", "Buyer Four", "S3", "X3", S4, "250.25", "10.01", "0.10"},
                     {"08-03-09", "Buyer Twelve", "S4", "X4", S12, "80.80", "10.10", "1.01"},
                     {"09-03-09", "Buyer Outside", "S6", "X6", SCST, "100.99", "2.02", "0"}});
    const std::map<const char*, double> figures = {{"PTT4", 392.44}, {"PTA12", 1000.1}, {"STTCST", 2.02}, {"RT4", 10207.36}};
    QString reference;
    {
        PlainLocale plain;
        click(form->cmdAdd);
        reference = dump(db);
    }
    expectNumbers(only("tblCommon"), figures);

    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.active());
    // The same save again, on the grids as the first save read them back.
    click(form->cmdAdd);
    EXPECT_EQ(label("Label18"), "392.44");
    EXPECT_EQ(dump(db).toStdString(), reference.toStdString());
    expectNumbers(only("tblCommon"), figures);
    EXPECT_EQ(messages().size(), 2u) << lastPrompt().toStdString();
}

} // namespace
