// The register screen's load and activation, the month list and List4, on a current and a
// neighbouring month stored in every register.
#include "register_support.h"

#include "HeldWriteLock.h"
#include "form10/registers/frmSelect.h"

#include <QFile>

using namespace f10test;

namespace {

int currentIndex() { return sys::today().month() - 1; }
int neighbourIndex() { return currentIndex() > 0 ? currentIndex() - 1 : 1; }
QString neighbour() { return vb::MonthName(neighbourIndex() + 1); }

class MonthList : public RegisterScreen {
protected:
    void seed() override
    {
        Module2().DealerName = "M/s Lakshmi Stores";
        storeBill("tblPurchase1", currentMonth(), "Current Local", "4", 100, 1);
        storeBill("tblPurchaseInterState1", currentMonth(), "Current Inter", "4", 70, 1);
        storeBill("tblSales", currentMonth(), "Current Sale", "4", 300, 1);
        storeBill("tblPurchase1", neighbour(), "Neighbour Local", "12.5", 200, 1);
        storeBill("tblPurchaseInterState1", neighbour(), "Neighbour Inter", "4", 50, 1);
        storeBill("tblSales", neighbour(), "Neighbour Sale", "1", 80, 1);
    }
    void openList() { focus(form->txtRPTo); }
    void arrowToNeighbour() { key(form->List1, currentIndex() > 0 ? Qt::Key_Up : Qt::Key_Down); }
    void commitNeighbour()
    {
        openList();
        arrowToNeighbour();
        key(form->List1, Qt::Key_Return);
    }
    QStringList entries(ui::ListBox* list)
    {
        QStringList e;
        for (int i = 0; i < list->ListCount(); ++i)
            e << list->List(i);
        return e;
    }
    QString parties() { return form->fg1->TextMatrix(1, 2) + " / " + form->fg2->TextMatrix(1, 2); }
    // Away to another window of the program and back.
    void lookAway()
    {
        ui::form<frmEFiling>().Show(ui::vbModeless);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&ui::form<frmEFiling>()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::processEvents();
    }
    void renameStored(const char* table)
    {
        exec(db, QString("UPDATE %1 SET Party='Changed Elsewhere' WHERE cMonth='%2'").arg(table, currentMonth()));
    }
};

TEST_F(MonthList, LoadShowsTheCurrentMonthsRegistersEvenWhileAnotherProgramHoldsTheFile)
{
    EXPECT_EQ(form->txtRPTo->Text() + form->txtMonth->Text(), currentMonth() + currentMonth());
    EXPECT_EQ(form->txtDate->Text(), today());
    EXPECT_EQ(form->lblCustomerName->text(), "M/s Lakshmi Stores");
    EXPECT_EQ(parties(), "Current Local / Current Sale");
    EXPECT_EQ(label("Label14"), "100.00");
    for (ui::ListBox* list : {form->List1, form->List2, form->List3})
        EXPECT_FALSE(list->isVisible()) << list->objectName().toStdString();
    EXPECT_EQ(entries(form->List1).size(), 12);

    // Opened again while another program writes to the file: the screen waits for it.
    ui::FormRegistry::unloadAll();
    resetModule2();
    HeldWriteLock other(db, 1000);
    ASSERT_TRUE(other.held());
    openScreen();
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(parties(), "Current Local / Current Sale");
}

TEST_F(MonthList, OpensOnTheCurrentMonthArrowsPreviewWithoutReadingAndEnterClickAndLeaveCommit)
{
    form->txtRPTo->setText(currentIndex() == 2 ? "April" : "March");
    openList();
    EXPECT_TRUE(form->List1->hasFocus());
    EXPECT_FALSE(form->List4->isEnabled());
    EXPECT_EQ(form->List1->ListIndex(), currentIndex());   // whatever month is committed
    arrowToNeighbour();
    EXPECT_EQ(form->txtRPTo->Text() + form->txtMonth->Text(), neighbour() + neighbour());
    EXPECT_EQ(parties(), "Current Local / Current Sale");
    key(form->List1, Qt::Key_Return);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(parties(), "Neighbour Local / Neighbour Sale");
    EXPECT_EQ(label("Label15") + label("Label22"), "200.0080.00");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->txtGrid1->hasFocus());
    EXPECT_TRUE(form->List4->isEnabled());

    // A double click and leaving the list commit too.
    openList();
    const QRect item = form->List1->visualItemRect(form->List1->item(currentIndex()));
    QTest::mouseDClick(form->List1->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(form->txtRPTo->Text() + " " + parties(), currentMonth() + " Current Local / Current Sale");
    EXPECT_FALSE(form->List1->isVisible());
    openList();
    arrowToNeighbour();
    focus(form->txtPlace);
    EXPECT_EQ(form->txtRPTo->Text() + " " + parties(), neighbour() + " Neighbour Local / Neighbour Sale");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(messages().empty());
}

TEST_F(MonthList, AMonthWithNoStoredRowsEmptiesBothGridsAndTheirTotals)
{
    for (const char* table : {"tblPurchase1", "tblSales"})
        exec(db, QString("DELETE FROM %1 WHERE cMonth='%2'").arg(table, neighbour()));
    form->txtPlace->setText("Kochi");
    ASSERT_EQ(form->txtTotal2->Text(), "301.00");
    focus(form->txtGrid1);
    for (int i = 0; i < 2; ++i) {   // the current cell moves down to row 3
        form->fg1->setCol(9);
        key(form->txtGrid1, Qt::Key_Return);
    }
    commitNeighbour();
    ASSERT_EQ(messages().size(), 1u);   // once, though the list is also left
    EXPECT_EQ(messages()[0].prompt + messages()[0].title, "No Record ExistsSorry....");
    // Both grids are emptied, and no old total stays.
    for (ui::FlexGrid* grid : {form->fg1, form->fg2})
        EXPECT_EQ(QStringList({QString::number(grid->Rows()), grid->TextMatrix(0, 1), grid->TextMatrix(1, 0),
                               grid->TextMatrix(1, 2)}),
                  QStringList({"2", "Bill Date", "1", ""}));
    EXPECT_EQ(form->txtGrid1->Text(), "");
    expectEditorOverCell(true);   // not left over a row that is gone
    expectEditorOverCell(false);
    EXPECT_EQ(form->txtPlace->Text() + form->txtDate->Text(), today());
    for (const char* name : kTotalLabels)   // each found by its name
        EXPECT_EQ(label(name), "0.00") << name;
    EXPECT_EQ(form->txtTotal->Text() + form->txtTotal2->Text(), "0.000.00");
}

TEST_F(MonthList, AMonthWithOnlySalesOrInterStatePurchasesIsReadAndSurvivesASave)
{
    exec(db, QString("DELETE FROM tblPurchase1 WHERE cMonth='%1'").arg(neighbour()));
    commitNeighbour();
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(parties(), " / Neighbour Sale");
    click(form->cmdAdd);
    EXPECT_EQ(count(db, "tblSales", QString("cMonth='%1' AND Party='Neighbour Sale'").arg(neighbour())), 1);

    // The save stored a bare local purchase row; the inter-state register alone holds bills.
    exec(db, QString("DELETE FROM tblSales WHERE cMonth='%1'; DELETE FROM tblPurchase1 WHERE cMonth='%1'").arg(neighbour()));
    form->txtRPTo->setText(currentMonth());
    form->List4->setListIndex(1);
    ui::clearShownMessages();
    commitNeighbour();
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(parties(), "Neighbour Inter / ");
}

TEST_F(MonthList, AMonthThatCannotBeReadIsReportedAndTheListCloses)
{
    QFile::remove(db);
    resetModule2();   // let go of the handle on the removed file
    openList();
    key(form->List1, Qt::Key_Return);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("List1_KeyPress :"));
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(MonthList, List4SwitchesTheRegisterAndThePickerEntriesAndActivationReadsTheOneShown)
{
    const QStringList local = {"      0", "      1", "      4", "    12.5", "     20       "};
    EXPECT_EQ(entries(form->List2), local);
    form->txtRPTo->setText(neighbour());
    focus(form->List4);
    key(form->List4, Qt::Key_Down);
    ASSERT_EQ(form->List4->ListIndex(), 1);
    EXPECT_EQ(entries(form->List2), QStringList({"      0", "      1", "      4", "    12.5", "      20"}));
    EXPECT_EQ(form->fg1->TextMatrix(1, 2) + label("Label14"), "Neighbour Inter50.00");
    // Away to another window of the program and back: the register shown is read again.
    form->txtRPTo->setText(currentMonth());
    lookAway();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2) + label("Label14"), "Current Inter70.00");
    EXPECT_EQ(form->List4->ListIndex(), 1);
    focus(form->List4);
    key(form->List4, Qt::Key_Up);
    EXPECT_EQ(entries(form->List2), local);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Local");
}

TEST_F(MonthList, RowsBeingKeyedSurviveALookAtAnotherWindowUntilSavedOrDeleted)
{
    keyBill(true, {"02-09-09", "Keyed Seller", "T", "B", P4, "10", "0.40", "0"});
    lookAway();
    ASSERT_EQ(form->fg1->Rows(), 4);
    EXPECT_EQ(form->fg1->TextMatrix(2, 2), "Keyed Seller");
    EXPECT_EQ(label("Label14"), "110.00");

    // Saved, the screen shows what is stored, and activation reads it again.
    click(form->cmdAdd);
    renameStored("tblPurchase1");
    lookAway();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Changed Elsewhere");

    // Text typed into a cell editor and not yet entered counts as an edit too.
    focus(form->txtGrid2);
    form->fg2->setRow(1);
    form->fg2->setCol(3);
    fnSelectAllText(*form->txtGrid2);
    QTest::keyClicks(form->txtGrid2, "TIN typed");
    renameStored("tblSales");
    lookAway();
    EXPECT_EQ(form->txtGrid2->Text(), "TIN typed");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Current Sale");

    // Deleted, the grids hold nothing unsaved, and activation reads the registers again.
    answer = ui::vbYes;
    click(form->cmdDelete);
    storeBill("tblSales", currentMonth(), "Stored Later");
    lookAway();
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Stored Later");

    // A month change reads, edits or not.
    keyBill(true, {"03-09-09", "Unsaved", "T", "B", P4, "1", "0", "0"});
    commitNeighbour();
    EXPECT_EQ(parties(), "Neighbour Local / Neighbour Sale");
}

} // namespace
