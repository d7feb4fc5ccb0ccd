// The register screen's load and activation, the month list, the purchase register switch
// List4 and the command buttons' focus colours.
#include "register_support.h"

#include "form10/registers/frmSelect.h"
#include "platform/sys/Clock.h"

#include <QFile>

using namespace f10test;

namespace {

int currentIndex() { return sys::today().month() - 1; }
// A month next to the current one.
int neighbourIndex() { return currentIndex() > 0 ? currentIndex() - 1 : 1; }
QString neighbour() { return vb::MonthName(neighbourIndex() + 1); }

class MonthList : public RegisterScreen {
protected:
    void seed() override
    {
        Module2().DealerName = "M/s Lakshmi Stores";
        struct Stored { const char* table; bool now; const char* party; const char* rate; int amount; };
        for (const Stored& b : {Stored{"tblPurchase1", true, "Current Local", "4", 100},
                                Stored{"tblPurchaseInterState1", true, "Current Inter", "4", 70},
                                Stored{"tblSales", true, "Current Sale", "4", 300},
                                Stored{"tblPurchase1", false, "Neighbour Local", "12.5", 200},
                                Stored{"tblPurchaseInterState1", false, "Neighbour Inter", "4", 50},
                                Stored{"tblSales", false, "Neighbour Sale", "1", 80}})
            exec(db, QString("INSERT INTO %1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, "
                             "cCode) VALUES ('1', '2009-09-01', '%2', '%3', %4, 1, 0, %4 + 1, '%5', '')")
                         .arg(b.table, b.party, b.rate).arg(b.amount).arg(b.now ? currentMonth() : neighbour()));
    }
    void openList() { focus(form->txtRPTo); }
    void arrowToNeighbour() { key(form->List1, currentIndex() > 0 ? Qt::Key_Up : Qt::Key_Down); }
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
    void renameStored(const char* table, const QString& party)
    {
        exec(db, QString("UPDATE %1 SET Party='%2' WHERE cMonth='%3'").arg(table, party, currentMonth()));
    }
};

TEST_F(MonthList, LoadShowsTheCurrentMonthsRegistersAndTheRateEntries)
{
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(form->txtMonth->Text(), currentMonth());
    EXPECT_EQ(form->txtDate->Text(), today());
    EXPECT_EQ(form->lblCustomerName->text(), "M/s Lakshmi Stores");
    EXPECT_EQ(parties(), "Current Local / Current Sale");
    EXPECT_EQ(label("Label14"), "100.00");
    for (ui::ListBox* list : {form->List1, form->List2, form->List3})
        EXPECT_FALSE(list->isVisible()) << list->objectName().toStdString();
    EXPECT_EQ(entries(form->List1).size(), 12);
    EXPECT_EQ(entries(form->List3), QStringList({"      0", "      1", "      4", "    12.5", "     20  ", "     CST "}));
    EXPECT_EQ(entries(form->List4), QStringList({"Local Purchase", "Inter State Purchase"}));
}

TEST_F(MonthList, OpensOnTheCurrentMonthArrowsPreviewWithoutReadingAndEnterCommits)
{
    form->txtRPTo->setText(currentIndex() == 2 ? "April" : "March");
    openList();
    EXPECT_TRUE(form->List1->hasFocus());
    EXPECT_FALSE(form->List4->isEnabled());
    EXPECT_EQ(form->List1->ListIndex(), currentIndex());   // whatever month is committed
    arrowToNeighbour();
    EXPECT_EQ(form->txtRPTo->Text(), neighbour());
    EXPECT_EQ(form->txtMonth->Text(), neighbour());
    EXPECT_EQ(parties(), "Current Local / Current Sale");
    key(form->List1, Qt::Key_Return);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(parties(), "Neighbour Local / Neighbour Sale");
    EXPECT_EQ(label("Label15") + label("Label22"), "200.0080.00");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->txtGrid1->hasFocus());
    EXPECT_TRUE(form->List4->isEnabled());
}

TEST_F(MonthList, DoubleClickAndLeavingTheListCommitToo)
{
    openList();
    const QRect item = form->List1->visualItemRect(form->List1->item(neighbourIndex()));
    QTest::mouseDClick(form->List1->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(form->txtRPTo->Text(), neighbour());
    EXPECT_EQ(parties(), "Neighbour Local / Neighbour Sale");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->List4->isEnabled());
    openList();   // back on the current month
    focus(form->txtPlace);
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(parties(), "Current Local / Current Sale");
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
    openList();
    arrowToNeighbour();
    key(form->List1, Qt::Key_Return);
    ASSERT_EQ(messages().size(), 1u);   // once, though the list is also left
    EXPECT_EQ(messages()[0].prompt, "No Record Exists");
    EXPECT_EQ(messages()[0].title, "Sorry....");
    EXPECT_EQ(messages()[0].icon(), ui::vbInformation);
    // Both grids are emptied, and no old total stays.
    for (ui::FlexGrid* grid : {form->fg1, form->fg2})
        EXPECT_EQ(QStringList({QString::number(grid->Rows()), grid->TextMatrix(0, 1), grid->TextMatrix(1, 0),
                               grid->TextMatrix(1, 2)}),
                  QStringList({"2", "Bill Date", "1", ""}));
    EXPECT_EQ(form->txtGrid1->Text(), "");
    EXPECT_EQ(form->fg1->Row(), 1);
    expectEditorOverCell(true);   // not left over a row that is gone
    expectEditorOverCell(false);
    EXPECT_EQ(form->txtPlace->Text(), "");
    EXPECT_EQ(form->txtDate->Text(), today());
    for (const char* name : kTotalLabels)   // each found by its name
        EXPECT_EQ(label(name), "0.00") << name;
    EXPECT_EQ(form->txtTotal->Text() + form->txtTotal2->Text(), "0.000.00");
    EXPECT_TRUE(form->List4->isEnabled());
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

TEST_F(MonthList, List4SwitchesTheRegisterAndThePickerEntries)
{
    const QStringList local = {"      0", "      1", "      4", "    12.5", "     20       "};
    EXPECT_EQ(entries(form->List2), local);
    form->txtRPTo->setText(neighbour());
    focus(form->List4);
    key(form->List4, Qt::Key_Down);
    ASSERT_EQ(form->List4->ListIndex(), 1);
    EXPECT_EQ(entries(form->List2), QStringList({"      0", "      1", "      4", "    12.5", "      20"}));
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Inter");
    EXPECT_EQ(label("Label14"), "50.00");
    key(form->List4, Qt::Key_Up);
    EXPECT_EQ(entries(form->List2), local);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Local");
    EXPECT_EQ(label("Label14") + label("Label15"), "0.00200.00");
}

TEST_F(MonthList, AMonthChangeAndActivationReadThePurchaseRegisterThatList4Shows)
{
    form->List4->setListIndex(1);
    openList();
    arrowToNeighbour();
    key(form->List1, Qt::Key_Return);
    EXPECT_EQ(form->List4->ListIndex(), 1);
    EXPECT_EQ(parties(), "Neighbour Inter / Neighbour Sale");
    // Away to another window of the program and back: the register is read again.
    form->txtRPTo->setText(currentMonth());
    lookAway();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Inter");
    EXPECT_EQ(label("Label14"), "70.00");
    EXPECT_EQ(form->List4->ListIndex(), 1);
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
    renameStored("tblPurchase1", "Changed Elsewhere");
    lookAway();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Changed Elsewhere");

    // Text typed into a cell editor and not yet entered counts as an edit too.
    focus(form->txtGrid2);
    form->fg2->setRow(1);
    form->fg2->setCol(3);
    fnSelectAllText(*form->txtGrid2);
    QTest::keyClicks(form->txtGrid2, "TIN typed");
    renameStored("tblSales", "Changed Elsewhere");
    lookAway();
    EXPECT_EQ(form->txtGrid2->Text(), "TIN typed");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Current Sale");

    // Deleted, the grids hold nothing unsaved, and activation reads the registers again.
    answer = ui::vbYes;
    click(form->cmdDelete);
    exec(db, QString("INSERT INTO tblSales (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, "
                     "cCode) VALUES ('1', '2009-09-03', 'Stored Later', '4', 5, 0, 0, 5, '%1', '')").arg(currentMonth()));
    lookAway();
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Stored Later");

    // A month change reads, edits or not.
    keyBill(true, {"03-09-09", "Unsaved", "T", "B", P4, "1", "0", "0"});
    openList();
    arrowToNeighbour();
    key(form->List1, Qt::Key_Return);
    EXPECT_EQ(parties(), "Neighbour Local / Neighbour Sale");
}

TEST_F(MonthList, CommandButtonsChangeColourWithTheFocus)
{
    struct B { ui::CommandButton* b; long face, focused, unfocused; };
    for (const B& b : {B{form->cmdAdd, 0xC0C0FF, 0xC0FFFF, 0xC0C0FF}, B{form->cmdDelete, 0xC0C0FF, 0xC0FFFF, 0xC0C0FF},
                       B{form->cmdExport, 0xC0C0FF, 0xC0FFFF, 0xC0C0FF}, B{form->cmdClose, 0xC0C0FF, 0xC0FFFF, 0xC0C0FF},
                       B{form->Command2, 0xD0AEDD, 0xC0FFFF, 0xFFC0FF}, B{form->cmdPrint1, 0xD0AEDD, 0xD0AEDD, 0xD0AEDD}}) {
        const long face = b.b->BackColor();
        focus(b.b);
        const long focused = b.b->BackColor();
        focus(form->txtPlace);
        EXPECT_EQ(QList<long>({face, focused, b.b->BackColor()}), QList<long>({b.face, b.focused, b.unfocused}))
            << b.b->objectName().toStdString();
    }
}

} // namespace
