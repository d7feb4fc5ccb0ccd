// The register screen's load and activation, the month list, the purchase register switch
// List4 and the command buttons' focus colours.
#include "register_support.h"

#include "form10/registers/frmSelect.h"

#include <QFile>

using namespace f10test;

namespace {

int currentIndex() { return QDate::currentDate().month() - 1; }
// A month next to the current one, and the arrow key that reaches it from the current one.
int neighbourIndex() { return currentIndex() > 0 ? currentIndex() - 1 : 1; }
QString neighbour() { return vb::MonthName(neighbourIndex() + 1); }

class MonthList : public RegisterScreen {
protected:
    void seed() override
    {
        Module2().DealerName = "M/s Lakshmi Stores";
        storeBill("tblPurchase1", currentMonth(), "2009-09-01", "Current Local", "4", 100, 4);
        storeBill("tblPurchaseInterState1", currentMonth(), "2009-09-02", "Current Inter", "4", 70, 2.8);
        storeBill("tblSales", currentMonth(), "2009-09-01", "Current Sale", "4", 300, 12);
        storeBill("tblPurchase1", neighbour(), "2009-08-03", "Neighbour Local", "12.5", 200, 25);
        storeBill("tblPurchaseInterState1", neighbour(), "2009-08-04", "Neighbour Inter", "4", 50, 2);
        storeBill("tblSales", neighbour(), "2009-08-05", "Neighbour Sale", "1", 80, 0.8);
    }
    void openList() { focus(form->txtRPTo); }
    void arrowToNeighbour() { key(form->List1, currentIndex() > 0 ? Qt::Key_Up : Qt::Key_Down); }
    QStringList pickerEntries(ui::ListBox* picker)
    {
        QStringList e;
        for (int i = 0; i < picker->ListCount(); ++i)
            e << picker->List(i);
        return e;
    }
};

TEST_F(MonthList, LoadShowsTheCurrentMonthsRegistersAndTheRateEntries)
{
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(form->txtMonth->Text(), currentMonth());
    EXPECT_EQ(form->txtDate->Text(), today());
    EXPECT_EQ(form->lblCustomerName->text(), "M/s Lakshmi Stores");
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Local");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Current Sale");
    EXPECT_EQ(label("Label14"), "100.00");
    for (ui::ListBox* list : {form->List1, form->List2, form->List3})
        EXPECT_FALSE(list->isVisible()) << list->objectName().toStdString();
    ASSERT_EQ(form->List1->ListCount(), 12);
    EXPECT_EQ(form->List1->List(11), "December");
    EXPECT_EQ(pickerEntries(form->List3),
              QStringList({"      0", "      1", "      4", "    12.5", "     20  ", "     CST "}));
    EXPECT_EQ(pickerEntries(form->List4), QStringList({"Local Purchase", "Inter State Purchase"}));
}

TEST_F(MonthList, OpensOnTheCurrentMonthWhateverMonthIsCommitted)
{
    form->txtRPTo->setText(currentIndex() == 2 ? "April" : "March");
    openList();
    EXPECT_TRUE(form->List1->hasFocus());
    EXPECT_FALSE(form->List4->isEnabled());
    EXPECT_EQ(form->List1->ListIndex(), currentIndex());
    key(form->List1, Qt::Key_Return);
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(form->txtMonth->Text(), currentMonth());
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->List4->isEnabled());
}

TEST_F(MonthList, ArrowsPreviewTheMonthWithoutReadingAndEnterCommits)
{
    openList();
    arrowToNeighbour();
    EXPECT_EQ(form->txtRPTo->Text(), neighbour());
    EXPECT_EQ(form->txtMonth->Text(), neighbour());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Local");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Current Sale");
    key(form->List1, Qt::Key_Return);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Local");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Neighbour Sale");
    EXPECT_EQ(form->fg1->TextMatrix(1, 0), "1");
    EXPECT_EQ(label("Label15"), "200.00");
    EXPECT_EQ(label("Label22"), "80.00");
    EXPECT_TRUE(form->txtGrid1->hasFocus());
    EXPECT_TRUE(form->List4->isEnabled());
}

TEST_F(MonthList, DoubleClickAndLeavingTheListCommitToo)
{
    openList();
    const QRect item = form->List1->visualItemRect(form->List1->item(neighbourIndex()));
    QTest::mouseDClick(form->List1->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(form->txtRPTo->Text(), neighbour());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Local");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->List4->isEnabled());

    openList();   // back on the current month
    focus(form->txtPlace);
    EXPECT_EQ(form->txtRPTo->Text(), currentMonth());
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Local");
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(messages().empty());
}

TEST_F(MonthList, AMonthWithoutLocalPurchasesEmptiesBothGridsAndTheirTotals)
{
    exec(db, QStringLiteral("DELETE FROM tblPurchase1 WHERE cMonth='%1'").arg(neighbour()));
    form->txtPlace->setText("Kochi");
    ASSERT_EQ(form->txtTotal2->Text(), "312.00");
    openList();
    arrowToNeighbour();
    key(form->List1, Qt::Key_Return);

    ASSERT_EQ(messages().size(), 1u);   // once, though the list is also left
    EXPECT_EQ(messages()[0].prompt, "No Record Exists");
    EXPECT_EQ(messages()[0].title, "Sorry....");
    EXPECT_EQ(messages()[0].icon(), ui::vbInformation);
    // The month has sales rows, yet both grids are emptied, and no old total stays.
    for (ui::FlexGrid* grid : {form->fg1, form->fg2}) {
        EXPECT_EQ(grid->Rows(), 2);
        EXPECT_EQ(grid->TextMatrix(1, 0), "1");
        EXPECT_EQ(grid->TextMatrix(1, 2), "");
        EXPECT_EQ(grid->TextMatrix(0, 1), "Bill Date");
    }
    EXPECT_EQ(form->txtGrid1->Text(), "");
    EXPECT_EQ(form->txtPlace->Text(), "");
    EXPECT_EQ(form->txtDate->Text(), today());
    EXPECT_EQ(label("Label14"), "0.00");
    EXPECT_EQ(form->txtTotal->Text(), "0.00");
    EXPECT_EQ(form->txtTotal2->Text(), "0.00");
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
    EXPECT_EQ(pickerEntries(form->List2), local);
    form->txtRPTo->setText(neighbour());
    focus(form->List4);
    key(form->List4, Qt::Key_Down);
    ASSERT_EQ(form->List4->ListIndex(), 1);
    EXPECT_EQ(pickerEntries(form->List2), QStringList({"      0", "      1", "      4", "    12.5", "      20"}));
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Inter");
    EXPECT_EQ(label("Label14"), "50.00");
    key(form->List4, Qt::Key_Up);
    EXPECT_EQ(pickerEntries(form->List2), local);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Local");
    EXPECT_EQ(label("Label14"), "0.00");
    EXPECT_EQ(label("Label15"), "200.00");
}

TEST_F(MonthList, AMonthChangeAndActivationReadThePurchaseRegisterThatList4Shows)
{
    form->List4->setListIndex(1);
    openList();
    arrowToNeighbour();
    key(form->List1, Qt::Key_Return);
    EXPECT_EQ(form->List4->ListIndex(), 1);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Neighbour Inter");
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Neighbour Sale");

    form->txtRPTo->setText(currentMonth());
    form->fg1->setTextMatrix(1, 2, "Unsaved edit");
    frmEFiling& other = ui::form<frmEFiling>();
    other.Show(ui::vbModeless);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    QApplication::processEvents();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Current Inter");
    EXPECT_EQ(label("Label14"), "70.00");
    EXPECT_EQ(form->List4->ListIndex(), 1);
}

TEST_F(MonthList, CommandButtonsChangeColourWithTheFocus)
{
    struct B { ui::CommandButton* b; long face, unfocused; };
    for (const B& b : {B{form->cmdAdd, 0xC0C0FF, 0xC0C0FF}, B{form->cmdDelete, 0xC0C0FF, 0xC0C0FF},
                       B{form->cmdExport, 0xC0C0FF, 0xC0C0FF}, B{form->cmdClose, 0xC0C0FF, 0xC0C0FF},
                       B{form->Command2, 0xD0AEDD, 0xFFC0FF}, B{form->cmdPrint1, 0xD0AEDD, 0xD0AEDD}}) {
        const std::string name = b.b->objectName().toStdString();
        EXPECT_EQ(b.b->BackColor(), b.face) << name;
        focus(b.b);
        EXPECT_EQ(b.b->BackColor(), b.b == form->cmdPrint1 ? 0xD0AEDD : 0xC0FFFF) << name;
        focus(form->txtPlace);
        EXPECT_EQ(b.b->BackColor(), b.unfocused) << name;
    }
}

} // namespace
