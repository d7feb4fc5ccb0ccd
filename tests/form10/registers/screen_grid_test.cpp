// Keying bills into the register grids through the floating editors and rate pickers, and
// the per-rate totals under them.
#include "register_support.h"

#include "platform/ui/forms/Twips.h"

#include <QScrollBar>
#include <array>

using namespace f10test;

namespace {

const QString kDateMessage = "Date Format is not Valid \r\nPlease follow  'DD-MM-YY '\r\neg:  ' 26-09-08 ' ";
const QString kSalesDateMessage = "Date Format is not Valid \r\nPlease follow    'DD-MM-YY ' \r\neg:  ' 26-09-08 ' ";

using GridKeys = RegisterScreen;

TEST_F(GridKeys, TheEditorsStartOverTheFirstCellsAndKeyedBillsFillRowTotalsAndRateLabels)
{
    for (bool purchase : {true, false}) {
        EXPECT_TRUE(cell(purchase) == QPoint(1, 1) && editor(purchase)->Alignment() == ui::vbCenter
                    && !editor(purchase)->Locked()) << purchase;
        expectEditorOverCell(purchase);
    }
    ui::FlexGrid* fg1 = form->fg1;
    focus(form->txtGrid1);
    for (const char* text : {"26-09-08", "Anand Traders", "32010", "B17"})
        keyCell(true, text);
    // Column 5: the picker takes the keys, entry 0 selected.
    ASSERT_EQ(fg1->Col(), 5);
    EXPECT_TRUE(form->List2->hasFocus() && form->List2->ListIndex() == 0);
    pick(true, P12);
    EXPECT_FALSE(form->List2->isVisible());
    EXPECT_EQ(fg1->Col(), 6);
    expectEditorOverCell(true);
    for (const char* text : {"1000", "125", "10"})
        keyCell(true, text);
    ASSERT_EQ(fg1->Col(), 9);
    EXPECT_TRUE(form->txtGrid1->Locked());
    QTest::keyClicks(form->txtGrid1, "77");   // the total is never typed
    EXPECT_EQ(form->txtGrid1->Text(), "1135.00");
    key(form->txtGrid1, Qt::Key_Return);
    // Enter in column 9 of the last row appends row 2.
    EXPECT_EQ(fg1->Rows(), 3);
    EXPECT_EQ(cell(true), QPoint(2, 1));
    EXPECT_EQ(fg1->TextMatrix(2, 0), "2");
    EXPECT_FALSE(form->txtGrid1->Locked());
    const QStringList expected = {"1", "26-09-08", "Anand Traders", "32010", "B17", "    12.5",
                                  "1000.00", "125.00", "10.00", "1135.00"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(fg1->TextMatrix(1, c), expected[c]) << "column " << c;
    const std::map<QString, QString> nonZero = {{"Label15", "1000.00"}, {"Label19", "125.00"}, {"Label62", "10.00"}};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(label(kTotalLabels[i]), nonZero.count(kTotalLabels[i]) ? nonZero.at(kTotalLabels[i]) : "0.00") << i;
    EXPECT_EQ(form->txtTotal->Text(), "1135.00");
    EXPECT_TRUE(messages().empty());
}

TEST_F(GridKeys, AmountCellsTakeOneWholeNumberWithOrWithoutGroupingCommasAndTheRowTotalFollowsEveryLeave)
{
    ui::FlexGrid* fg1 = form->fg1;
    focus(form->txtGrid1);
    // Amount and tax by Enter, the cess left by Left: the total includes it at once.
    const std::pair<std::array<const char*, 3>, std::array<const char*, 4>> cases[] = {
        {{"1,200.00", " 1,20,000.50 ", "12,34,567"}, {"1200.00", "120000.50", "1234567.00", "1355767.50"}},
        {{"-4,500", "", "+12."}, {"-4500.00", "0.00", "12.00", "-4488.00"}},
        {{".5", "1,000,000", "0"}, {"0.50", "1000000.00", "0.00", "1000000.50"}}};
    for (const auto& [typed, cells] : cases) {
        fg1->setCol(6);
        keyCell(true, typed[0]);
        keyCell(true, typed[1]);
        QTest::keyClicks(form->txtGrid1, typed[2]);
        fnSelectAllText(*form->txtGrid1);
        key(form->txtGrid1, Qt::Key_Left);
        EXPECT_EQ(fg1->Col(), 7);
        for (int c = 6; c <= 9; ++c)
            EXPECT_EQ(fg1->TextMatrix(1, c), cells[c - 6]) << typed[0] << " column " << c;
    }
    EXPECT_EQ(form->txtTotal->Text(), "1000000.50");
    fg1->setCol(2);
    keyCell(true, "  Padded  ");   // text cells keep what was typed, blanks included
    EXPECT_EQ(fg1->TextMatrix(1, 2), "  Padded  ");
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
}

TEST_F(GridKeys, AnythingElseInAnAmountCellIsRefusedNamingTheCellAndTheEditorKeepsItForCorrection)
{
    keyBill(true, {"02-03-09", "Alpha Agencies", "T1", "B1", P4, "100", "4", "0"});
    keyBill(false, {"02-03-09", "Buyer", "S1", "X1", S4, "50", "2", "0.10"});
    const QString saved = dump(db);
    focus(form->txtGrid1);
    // A comma out of its group is refused too: "12,50" is neither 1250 nor 12.50. Every way
    // out of the editor refuses it: Enter, the keys and clicks that move the cell, and those
    // that take the focus elsewhere (Tab, Shift+Tab, a click on the other grid, the month box
    // or a button, an access key).
    const std::function<void()> leaves[] = {
        [&] { key(form->txtGrid1, Qt::Key_Return); },
        [&] { key(form->txtGrid1, Qt::Key_Down); },
        [&] { fnSelectAllText(*form->txtGrid1), key(form->txtGrid1, Qt::Key_Left); },
        [&] { clickCell(true, 1, 2); },
        [&] { key(form->txtGrid1, Qt::Key_Tab); },
        [&] { key(form->txtGrid1, Qt::Key_Tab, Qt::ShiftModifier); },
        [&] { clickInWindow(form->fg2, form->fg2->cellRect(1, 2).center()); },
        [&] { clickInWindow(form->txtRPTo); },
        [&] { clickInWindow(form->cmdExport); },
        [&] { key(form->txtGrid1, Qt::Key_X, Qt::AltModifier); }};
    for (const char* bad : {"12a50", "12,50", "1,2,00", "1.2.3", "-", "1e3", "&H10", "12 50"})
        for (const auto& leave : leaves) {
            ui::clearShownMessages();
            form->fg1->setRow(1);
            form->fg1->setCol(6);
            fnSelectAllText(*form->txtGrid1);
            QTest::keyClicks(form->txtGrid1, bad);
            leave();
            ASSERT_EQ(messages().size(), 1u) << bad;
            EXPECT_EQ(messages()[0].prompt,
                      QString("\"%1\" in row 1 of the purchase grid, column Amount, is not an amount.\r\n\r\n"
                              "An amount is a number up to 9,99,99,999.99 (99,999,999.99), written with or without "
                              "grouping commas (1,20,000.50 or 120,000.50), with an optional sign and decimals.")
                          .arg(bad));
            EXPECT_EQ(messages()[0].title, "Plase Note.......!");
            EXPECT_EQ(messages()[0].buttons, ui::vbExclamation | ui::vbOKOnly);
            EXPECT_EQ(cell(true), QPoint(1, 6)) << bad;
            EXPECT_EQ(form->txtGrid1->Text(), bad);
            EXPECT_TRUE(form->txtGrid1->hasFocus());
            EXPECT_EQ(form->fg1->TextMatrix(1, 6) + "|" + form->fg1->TextMatrix(1, 9) + "|" + label("Label14"),
                      "100.00|104.00|100.00");
        }
    // Save refuses while the editor holds it, and stores nothing.
    ui::clearShownMessages();
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("\"12 50\" in row 1 of the purchase grid, column Amount, is not an amount."));
    EXPECT_TRUE(messages()[0].prompt.endsWith("\r\n\r\nNothing was saved."));
    EXPECT_EQ(dump(db), saved);
    EXPECT_EQ(form->txtGrid1->Text(), "12 50");
    EXPECT_TRUE(form->txtGrid1->hasFocus());

    // The sales grid says so of its own cells; corrected, each is taken.
    keyCell(true, "1,100");
    focus(form->txtGrid2);
    form->fg2->setRow(1);
    form->fg2->setCol(8);
    ui::clearShownMessages();
    keyCell(false, "0,10");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("\"0,10\" in row 1 of the sales grid, column Cess, is not an amount."));
    click(form->cmdAdd);   // a Cess no less than an Amount
    EXPECT_TRUE(lastPrompt().startsWith("\"0,10\" in row 1 of the sales grid, column Cess")
                && lastPrompt().endsWith("Nothing was saved."));
    keyCell(false, "0.25");
    EXPECT_EQ(form->fg1->TextMatrix(1, 6) + "|" + form->fg2->TextMatrix(1, 8) + "|" + form->fg2->TextMatrix(1, 9),
              "1100.00|0.25|52.25");
    // A figure taken, left by Tab, is in its cell and its totals.
    focus(form->txtGrid1);
    fnSelectAllText(*form->txtGrid1);
    QTest::keyClicks(form->txtGrid1, "6");
    key(form->txtGrid1, Qt::Key_Tab);
    EXPECT_EQ(form->fg1->TextMatrix(1, 7) + "|" + label("Label18") + "|" + form->txtTotal->Text(), "6.00|6.00|1106.00");
    EXPECT_TRUE(form->txtGrid2->hasFocus());
}

TEST_F(GridKeys, ABillDateMustBeDdMmYyToLeaveItsCellAndToBeSaved)
{
    ui::FlexGrid* fg1 = form->fg1;
    keyBill(true, {"05-12-09", "A", "T", "B", P0, "1", "0", "0"});
    // Enter, an arrow key or a click elsewhere: refused with each grid's message, the text kept.
    const std::function<void()> leaves[] = {[&] { key(form->txtGrid1, Qt::Key_Return); },
                                            [&] { key(form->txtGrid1, Qt::Key_Up); },
                                            [&] { clickCell(true, 1, 3); },
                                            [&] { key(form->txtGrid1, Qt::Key_Tab); }};
    for (const char* bad : {"26/09/08", "1-9-08", "06-12-2009", "1.9.09"})
        for (const auto& leave : leaves) {
            ui::clearShownMessages();
            fnSelectAllText(*form->txtGrid1);
            QTest::keyClicks(form->txtGrid1, bad);
            leave();
            ASSERT_EQ(messages().size(), 1u) << bad;
            EXPECT_EQ(messages()[0].prompt, kDateMessage);
            EXPECT_EQ(messages()[0].title, "Plase Note.......!");
            EXPECT_EQ(messages()[0].buttons, ui::vbExclamation | ui::vbOKOnly);
            EXPECT_EQ(cell(true), QPoint(2, 1)) << bad;
        }
    focus(form->txtGrid2);
    keyCell(false, "2009-12-01");
    EXPECT_EQ(messages().back().prompt, kSalesDateMessage);
    EXPECT_EQ(form->fg2->Col(), 1);

    // Corrected, the cell is left freely and the bills are stored as the dates they name;
    // the dashes are all Enter looks at.
    focus(form->txtGrid1);
    form->txtGrid1->setText("06-12-09");
    clickCell(true, 1, 3);
    EXPECT_EQ(cell(true), QPoint(1, 3));
    expectEditorOverCell(true);
    click(form->cmdAdd);
    EXPECT_EQ(lastPrompt(), "RECORD ADDED  SUCCESSFULLY");
    const auto rows = query(db, "SELECT BillDate FROM tblPurchase1 ORDER BY BillDate");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("BillDate").text + " " + rows[1].at("BillDate").text, "2009-12-05 2009-12-06");
    ui::clearShownMessages();
    keyBill(true, {"01-12-09", "B", "T", "B", P0, "1", "0", "0"});
    key(form->txtGrid1, Qt::Key_Up);
    keyCell(true, "ab-cd-ef");
    EXPECT_EQ(fg1->TextMatrix(3, 1), "ab-cd-ef");
    EXPECT_TRUE(messages().empty());
}

TEST_F(GridKeys, CtrlDPutsTheMonthStartIntoTheDateCellOnly)
{
    form->txtRPTo->setText("September");
    focus(form->txtGrid1);
    key(form->txtGrid1, Qt::Key_D, Qt::ControlModifier);
    key(form->txtGrid1, Qt::Key_Return);
    EXPECT_EQ(form->fg1->TextMatrix(1, 1), "01-09-09");
    QTest::keyClicks(form->txtGrid1, "X");
    key(form->txtGrid1, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(form->txtGrid1->Text(), "X");
}

TEST_F(GridKeys, CtrlYDeletesTheRowRenumbersAndOnTheOnlyRowResetsTheGrid)
{
    ui::FlexGrid* fg1 = form->fg1;
    for (const char* party : {"P1", "P2", "P3", "P4"})
        keyBill(true, {"01-09-09", party, "T", "B", P0, "1", "0", "0"});
    key(form->txtGrid1, Qt::Key_Y, Qt::ControlModifier);   // the row Enter appended
    fg1->setRow(2);
    key(form->txtGrid1, Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(fg1->Rows(), 4);
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(fg1->TextMatrix(r, 0) + fg1->TextMatrix(r, 2), QString::number(r) + "P" + "134"[r - 1]);
    EXPECT_EQ(fg1->Row(), 2);
    EXPECT_EQ(form->txtGrid1->Text(), fg1->Text());
    expectEditorOverCell(true);
    EXPECT_EQ(form->txtTotal->Text(), "3.00");

    // The only row of the sales grid: the grid is laid out afresh, totals back to zero.
    keyBill(false, {"01-09-09", "Only Party", "T", "B", S4, "100", "0", "0"});
    key(form->txtGrid2, Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(label("Label21"), "100.00");
    key(form->txtGrid2, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(form->fg2->Rows(), 2);
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(form->fg2->TextMatrix(1, c), c ? "" : "1") << c;
    EXPECT_EQ(label("Label21") + form->txtGrid2->Text(), "0.00");
    EXPECT_TRUE(form->txtGrid2->hasFocus());
}

TEST_F(GridKeys, ArrowAndPageKeysStayInsideTheBillRowsAndLeftFirstMovesTheCaret)
{
    ui::FlexGrid* fg1 = form->fg1;
    focus(form->txtGrid1);
    for (int i = 0; i < 3; ++i) {
        fg1->setCol(9);
        key(form->txtGrid1, Qt::Key_Return);
    }
    ASSERT_EQ(fg1->Rows(), 5);
    const std::pair<Qt::Key, QPoint> steps[] = {{Qt::Key_PageUp, {1, 1}}, {Qt::Key_Up, {1, 1}},
                                                {Qt::Key_Left, {1, 1}}, {Qt::Key_PageDown, {4, 1}},
                                                {Qt::Key_Down, {4, 1}}, {Qt::Key_Right, {4, 2}}};
    for (const auto& [k, at] : steps) {
        key(form->txtGrid1, k);
        EXPECT_EQ(cell(true), at) << k;
    }
    fg1->setCol(9);
    key(form->txtGrid1, Qt::Key_Right);
    EXPECT_EQ(QPoint(fg1->Col(), fg1->Rows()), QPoint(9, 5));
    // The rate cell keeps the lock of the cell entered before it.
    fg1->setCol(5);
    EXPECT_TRUE(form->txtGrid1->Locked());
    fg1->setCol(4);
    fg1->setCol(5);
    EXPECT_FALSE(form->txtGrid1->Locked());

    // With part of the text selected, Left and Right move the caret, not the cell.
    fg1->setCol(3);
    QTest::keyClicks(form->txtGrid1, "ABCDEF");
    form->txtGrid1->setSelStart(2);
    form->txtGrid1->setSelLength(2);
    key(form->txtGrid1, Qt::Key_Left);
    key(form->txtGrid1, Qt::Key_Right);
    EXPECT_EQ(fg1->Col(), 3);
    fnSelectAllText(*form->txtGrid1);
    key(form->txtGrid1, Qt::Key_Left);
    EXPECT_EQ(fg1->Col(), 2);
    // The new cell's text is selected whole, so Right goes straight back.
    key(form->txtGrid1, Qt::Key_Right);
    EXPECT_EQ(fg1->Col(), 3);
    EXPECT_EQ(form->txtGrid1->SelText(), "ABCDEF");
}

TEST_F(GridKeys, EditorFollowsItsCellWhenTheGridScrollsAndHeaderCaptionsSurviveALeave)
{
    ui::FlexGrid* fg1 = form->fg1;
    for (int i = 1; i <= 14; ++i)
        keyBill(true, {QString("%1-09-09").arg(i, 2, 10, QChar('0')), "Party", "T", "B", P4, "1", "0", "0"});
    ASSERT_EQ(fg1->Row(), 15);
    ASSERT_GT(fg1->TopRow(), 1) << "the grid must have scrolled to show the new row";
    fg1->verticalScrollBar()->setValue(fg1->verticalScrollBar()->minimum());
    QApplication::processEvents();
    EXPECT_TRUE(fg1->cellRect(fg1->Row(), fg1->Col()).isEmpty());
    EXPECT_FALSE(form->txtGrid1->isVisible());
    fg1->verticalScrollBar()->setValue(fg1->verticalScrollBar()->maximum());
    QApplication::processEvents();
    const QRect rect = fg1->cellRect(fg1->Row(), fg1->Col());
    ASSERT_FALSE(rect.isEmpty());
    EXPECT_TRUE(form->txtGrid1->isVisible());
    EXPECT_EQ(form->txtGrid1->Left(), fg1->Left() + ui::toTwips(rect.x()));
    EXPECT_EQ(form->txtGrid1->Top(), fg1->Top() + ui::toTwips(rect.y()));
    keyCell(true, "15-09-09");
    EXPECT_EQ(fg1->TextMatrix(15, 1), "15-09-09");

    // Cut back to the header row, as a reader does before filling: a leave writes nothing there.
    fg1->setCol(2);
    form->txtGrid1->setText("typed");
    fg1->setRows(1);
    fg1->setCol(3);
    EXPECT_EQ(fg1->TextMatrix(0, 2), "Party");
}

TEST_F(GridKeys, PanelsSumWholeNumbersPerTrimmedRateInTwoDecimalsRoundedHalfAway)
{
    struct Case { bool purchase; std::vector<QStringList> rows; std::map<const char*, const char*> labels; const char* total; };
    const Case cases[] = {
        // Rounding half away from zero.
        {true, {{"0", "0.005", "2.675", "-3", "0"}, {"1", "1234.5", "0", "0", "1234.5"},
                {"4", "0.1", "0.2", "0", "0.3"}, {"4", "0.2", "0.1", "0", "0.3"}},
         {{"Label12", "0.01"}, {"Label16", "2.68"}, {"Label58", "-3.00"}, {"Label13", "1234.50"},
          {"Label14", "0.30"}, {"Label18", "0.30"}}, "1235.10"},
        // Every entry the pickers put into a rate cell, then texts that name no rate.
        {true, {{"         0", "1", "0", "0", "1"}, {"     20       ", "2", "0", "0", "2"},
                {"        20       ", "4", "0", "0", "4"}, {"      20", "8", "0", "0", "8"},
                {"       12.5", "16", "0", "0", "16"}, {"12.50", "10", "1", "0", "11"},
                {"12", "10", "1", "0", "11"}, {"CST", "10", "1", "0", "11"}, {"", "10", "1", "0", "11"}},
         {{"Label12", "1.00"}, {"Label10", "14.00"}, {"Label15", "16.00"}, {"Label19", "0.00"}}, "75.00"},
        {false, {{"     CST ", "5", "1", "0.5", "6.5"}, {"     20  ", "7", "0", "0", "7"}, {"cst", "10", "1", "0", "11"}},
         {{"Label35", "5.00"}, {"Label36", "1.00"}, {"Label53", "0.50"}, {"Label45", "7.00"}}, "24.50"},
        // An empty amount still adds its tax and cess; 12abc adds nothing to the panel.
        {true, {{"4", "", "5", "1", "6"}, {"4", "12abc", "1", "0", "x"}},
         {{"Label14", "0.00"}, {"Label18", "6.00"}, {"Label56", "1.00"}}, "6.00"},
    };
    for (const Case& c : cases) {
        ui::FlexGrid* g = grid(c.purchase);
        g->setRows(int(c.rows.size()) + 1);
        for (size_t i = 0; i < c.rows.size(); ++i)
            for (int k = 0; k < 5; ++k)
                g->setTextMatrix(int(i) + 1, 5 + k, c.rows[i][k]);
        c.purchase ? form->procTotalCal1() : form->procTotalCal2();
        for (const auto& [name, text] : c.labels)
            EXPECT_EQ(label(name), text) << name;
        EXPECT_EQ((c.purchase ? form->txtTotal : form->txtTotal2)->Text(), c.total);
    }
}

} // namespace
