// The register screen's load, the month list, the purchase register switch and the command
// buttons' focus colours.
#include "screen_support.h"

#include "form10/registers/frmSelect.h"
#include "platform/ui/CommandButton.h"

#include <QFile>

using namespace screentest;

namespace {

int currentIndex()
{
    return QDate::currentDate().month() - 1;
}
// A month next to the current one, and the arrow key that reaches it from the current one.
int neighbourIndex()
{
    return currentIndex() > 0 ? currentIndex() - 1 : 1;
}
Qt::Key towardsNeighbour()
{
    return currentIndex() > 0 ? Qt::Key_Up : Qt::Key_Down;
}
QString neighbour()
{
    return vb::MonthName(neighbourIndex() + 1);
}

class MonthList : public ScreenTest {
protected:
    void openList()
    {
        form->txtRPTo->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    void arrowToNeighbour() { key(form->List1, towardsNeighbour()); }
};

TEST_F(MonthList, OpensOnTheCurrentMonthWhateverMonthIsCommitted)
{
    form->txtRPTo->setText(currentIndex() == 2 ? "April" : "March");
    openList();
    EXPECT_TRUE(form->List1->isVisible());
    EXPECT_TRUE(form->List1->hasFocus());
    EXPECT_FALSE(form->List4->isEnabled());
    EXPECT_EQ(form->List1->ListIndex(), currentIndex());
    enter(form->List1);
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(form->txtMonth->Text(), currentMonth());
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->List4->isEnabled());
}

TEST_F(MonthList, AMonthThatCannotBeReadIsReportedAndTheListCloses)
{
    QFile::remove(folder.file("nwForm10DB.mdb"));
    resetModule2();   // let go of the handle on the removed file
    openList();
    enter(form->List1);
    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_TRUE(ui::shownMessages()[0].prompt.startsWith("List1_KeyPress :"));
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->isVisible());
}

class MonthListWithRows : public MonthList {
protected:
    void seed() override
    {
        storeBill("tblPurchase1", currentMonth(), "2009-09-01", "Current Local", "4", 100, 4, 0);
        storeBill("tblSales", currentMonth(), "2009-09-01", "Current Sale", "4", 300, 12, 0);
        storeBill("tblPurchase1", neighbour(), "2009-08-03", "Neighbour Local", "12.5", 200, 25, 0);
        storeBill("tblPurchaseInterState1", neighbour(), "2009-08-04", "Neighbour Inter", "4", 50, 2, 0);
        storeBill("tblSales", neighbour(), "2009-08-05", "Neighbour Sale", "1", 80, 0.8, 0);
    }
};

TEST_F(MonthListWithRows, ArrowsPreviewTheMonthWithoutReadingAndEnterCommits)
{
    ASSERT_EQ(form->fg1->TextMatrix(1, 2), "Current Local");
    openList();
    arrowToNeighbour();
    EXPECT_EQ(form->txtRPTo->Text(), neighbour());
    EXPECT_EQ(form->txtMonth->Text(), neighbour());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Local");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Current Sale");

    enter(form->List1);
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Local");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Neighbour Sale");
    EXPECT_EQ(form->fg1->TextMatrix(1, 0), "1");
    EXPECT_EQ(label("Label15"), "200.00");
    EXPECT_EQ(label("Label22"), "80.00");
    EXPECT_TRUE(form->txtGrid1->hasFocus());
    EXPECT_TRUE(form->List4->isEnabled());
}

TEST_F(MonthListWithRows, DoubleClickAndLeavingTheListCommitToo)
{
    openList();
    const QRect item = form->List1->visualItemRect(form->List1->item(neighbourIndex()));
    QTest::mouseDClick(form->List1->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(form->txtRPTo->Text(), neighbour());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Local");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->List4->isEnabled());
    EXPECT_TRUE(ui::shownMessages().empty());

    openList();   // back on the current month
    form->txtPlace->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Local");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(ui::shownMessages().empty());
}

TEST_F(MonthListWithRows, AMonthWithoutLocalPurchasesEmptiesBothGridsAndTheirTotals)
{
    execForm10(QStringLiteral("DELETE FROM tblPurchase1 WHERE cMonth='%1'").arg(neighbour()));
    form->txtPlace->setText("Kochi");
    ASSERT_EQ(label("Label14"), "100.00");
    ASSERT_EQ(form->txtTotal2->Text(), "312.00");
    openList();
    arrowToNeighbour();
    enter(form->List1);

    ASSERT_EQ(ui::shownMessages().size(), 1u);
    EXPECT_EQ(ui::shownMessages()[0].prompt, "No Record Exists");
    EXPECT_EQ(ui::shownMessages()[0].title, "Sorry....");
    EXPECT_EQ(ui::shownMessages()[0].icon(), ui::vbInformation);
    // The month has sales rows, yet both grids are emptied.
    for (ui::FlexGrid* grid : {form->fg1, form->fg2}) {
        EXPECT_EQ(grid->Rows(), 2);
        EXPECT_EQ(grid->TextMatrix(1, 0), "1");
        EXPECT_EQ(grid->TextMatrix(1, 2), "");
        EXPECT_EQ(grid->TextMatrix(0, 1), "Bill Date");
    }
    EXPECT_EQ(form->txtGrid1->Text(), "");
    EXPECT_EQ(form->txtGrid2->Text(), "");
    EXPECT_EQ(form->txtPlace->Text(), "");
    EXPECT_EQ(form->txtDate->Text(), vb::FormatDate(QDate::currentDate(), "dd-mm-yy"));
    // No stale totals of the month before.
    EXPECT_EQ(label("Label14"), "0.00");
    EXPECT_EQ(form->txtTotal->Text(), "0.00");
    EXPECT_EQ(form->txtTotal2->Text(), "0.00");
    EXPECT_TRUE(form->List4->isEnabled());
}

TEST_F(MonthListWithRows, List4SwitchesTheRegisterAndThePickerEntries)
{
    ASSERT_EQ(form->List4->ListIndex(), 0);
    const QStringList local = {"      0", "      1", "      4", "    12.5", "     20       "};
    const QStringList inter = {"      0", "      1", "      4", "    12.5", "      20"};
    auto entries = [this] {
        QStringList e;
        for (int i = 0; i < form->List2->ListCount(); ++i)
            e << form->List2->List(i);
        return e;
    };
    EXPECT_EQ(entries(), local);

    form->txtRPTo->setText(neighbour());
    form->List4->setFocus(Qt::OtherFocusReason);
    key(form->List4, Qt::Key_Down);
    ASSERT_EQ(form->List4->ListIndex(), 1);
    EXPECT_EQ(entries(), inter);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Inter");
    EXPECT_EQ(label("Label14"), "50.00");

    key(form->List4, Qt::Key_Up);
    EXPECT_EQ(entries(), local);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Local");
    EXPECT_EQ(label("Label14"), "0.00");
    EXPECT_EQ(label("Label15"), "200.00");
}

TEST_F(MonthListWithRows, AMonthChangeReadsThePurchaseRegisterThatList4Shows)
{
    form->List4->setListIndex(1);
    openList();
    arrowToNeighbour();
    enter(form->List1);
    EXPECT_EQ(form->List4->ListIndex(), 1);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Inter");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Neighbour Sale");
}

class Activation : public ScreenTest {
protected:
    void seed() override
    {
        storeBill("tblPurchase1", currentMonth(), "2009-09-01", "Stored Local", "4", 100, 4, 0);
        storeBill("tblPurchaseInterState1", currentMonth(), "2009-09-02", "Stored Inter", "4", 70, 2.8, 0);
    }
};

TEST_F(Activation, ComingBackRereadsTheRegisterThatList4Shows)
{
    form->List4->setListIndex(1);
    ASSERT_EQ(form->fg1->TextMatrix(1, 2), "Stored Inter");
    form->fg1->setTextMatrix(1, 2, "Unsaved edit");
    frmEFiling& other = ui::form<frmEFiling>();
    other.Show(ui::vbModeless);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    QApplication::processEvents();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Stored Inter");
    EXPECT_EQ(label("Label14"), "70.00");
    EXPECT_EQ(form->List4->ListIndex(), 1);
}

class ScreenLoad : public ScreenTest {
protected:
    void seed() override { Module2().DealerName = "M/s Lakshmi Stores"; }
};

TEST_F(ScreenLoad, StartsOnTheCurrentMonthWithEmptyLaidOutGrids)
{
    EXPECT_EQ(form->Caption(), "             Form No. 52");
    EXPECT_EQ(form->objectName(), "frmNormal");
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(form->txtMonth->Text(), currentMonth());
    EXPECT_EQ(form->txtDate->Text(), vb::FormatDate(QDate::currentDate(), "dd-mm-yy"));
    EXPECT_EQ(form->lblCustomerName->text(), "M/s Lakshmi Stores");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_FALSE(form->List2->isVisible());
    EXPECT_FALSE(form->List3->isVisible());
    ASSERT_EQ(form->List1->ListCount(), 12);
    EXPECT_EQ(form->List1->List(0), "January");
    EXPECT_EQ(form->List1->List(11), "December");
    const QStringList sales = {"      0", "      1", "      4", "    12.5", "     20  ", "     CST "};
    ASSERT_EQ(form->List3->ListCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(form->List3->List(i), sales[i]);
    EXPECT_EQ(form->List4->List(0), "Local Purchase");
    EXPECT_EQ(form->List4->List(1), "Inter State Purchase");

    const QStringList headers = {"Sl No", "Bill Date", "Party", "TIN", "Bill  No", "Rate of \r\nTax %",
                                 "Amount", "Tax", "Cess", "Total  Amount"};
    const int widths[10] = {700, 1050, 3450, 1600, 1100, 800, 1500, 1500, 1500, 1500};
    for (ui::FlexGrid* grid : {form->fg1, form->fg2}) {
        EXPECT_EQ(grid->Rows(), 2);
        EXPECT_EQ(grid->Cols(), 10);
        EXPECT_EQ(grid->FixedRows(), 1);
        EXPECT_EQ(grid->RowHeight(0), 400);
        EXPECT_EQ(grid->RowHeightMin(), 300);
        EXPECT_EQ(grid->Row(), 1);
        EXPECT_EQ(grid->Col(), 1);
        for (int c = 0; c < 10; ++c) {
            EXPECT_EQ(grid->TextMatrix(0, c), headers[c]);
            EXPECT_EQ(grid->ColWidth(c), widths[c]);
            EXPECT_EQ(grid->ColAlignment(c), c < 6 ? ui::flexAlignCenterCenter : ui::flexAlignRightTop);
        }
        EXPECT_EQ(grid->TextMatrix(1, 0), "1");
    }
    EXPECT_TRUE(form->txtGrid1->isVisible());
    EXPECT_TRUE(form->txtGrid2->isVisible());
}

TEST_F(ScreenLoad, CommandButtonsChangeColourWithTheFocus)
{
    struct B { ui::CommandButton* b; const char* caption; long start; long unfocused; };
    const B buttons[] = {
        {form->cmdAdd, "&Add", 0xC0C0FF, 0xC0C0FF},
        {form->cmdDelete, "&Delete", 0xC0C0FF, 0xC0C0FF},
        {form->cmdExport, "E&xport", 0xC0C0FF, 0xC0C0FF},
        {form->cmdClose, "C&lose", 0xC0C0FF, 0xC0C0FF},
        {form->Command2, "PRINT", 0xD0AEDD, 0xFFC0FF},
    };
    for (const B& b : buttons) {
        EXPECT_EQ(b.b->Caption(), b.caption);
        EXPECT_EQ(b.b->Style(), ui::vbButtonGraphical);
        EXPECT_EQ(b.b->BackColor(), b.start) << b.caption;
        b.b->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        EXPECT_EQ(b.b->BackColor(), 0xC0FFFF) << b.caption;
        form->txtPlace->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
        EXPECT_EQ(b.b->BackColor(), b.unfocused) << b.caption;
    }
    // The purchase print button keeps its colour; Enter on it does nothing of the screen's.
    form->cmdPrint1->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(form->cmdPrint1->BackColor(), 0xD0AEDD);
    EXPECT_EQ(form->cmdPrint1->Caption(), "PRINT");
    enter(form->cmdPrint1);
    EXPECT_TRUE(ui::shownMessages().empty());
    EXPECT_TRUE(form->isVisible());
}

} // namespace
