// Delete and Close on the register screen.
#include "register_support.h"

#include "form10/registers/frmSelect.h"

using namespace f10test;

namespace {

class DeleteTest : public RegisterScreen {
protected:
    void SetUp() override
    {
        RegisterScreen::SetUp();
        keyBills(true, {{"02-03-09", "Local Seller", "T1", "B1", P4, "100", "4", "0"}});
        keyBills(false, {{"03-03-09", "Buyer", "S1", "X1", S4, "50", "2", "0"}});
        click(form->cmdAdd);
        ASSERT_EQ(monthRows("tblPurchase1"), 1);
        // Rows of another month and of another dealer that no delete may touch.
        for (const char* table : {"tblPurchase1", "tblPurchaseInterState1", "tblSales"})
            exec(db, QString("INSERT INTO %1 (SlNo, Party, cMonth, cCode) VALUES ('1', 'Other month', 'NoSuchMonth', ''), "
                             "('1', 'Other dealer', '%2', 'D2')").arg(table, month()));
        ui::clearShownMessages();
    }
    int monthRows(const char* table) { return count(db, table, QString("cCode='' AND cMonth='%1'").arg(month())); }
};

TEST_F(DeleteTest, YesRemovesExactlyTheDealersMonthAndClearsTheGrids)
{
    // Rows keyed after the save leave the editors below the rows Delete keeps.
    keyBills(true, {{"04-03-09", "Second Seller", "T2", "B2", P4, "10", "0", "0"}});
    keyBills(false, {{"06-03-09", "Second Buyer", "S2", "X2", S4, "30", "0", "0"}});
    answer = ui::vbYes;
    key(form->cmdDelete, Qt::Key_Return);   // Enter asks the same questions as a click
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, " Are you Sure ");
    EXPECT_EQ(messages()[0].title, "Delete Local Purchase Records ");
    EXPECT_EQ(messages()[0].buttons, ui::vbYesNo + ui::vbQuestion);
    EXPECT_EQ(messages()[1].title, "Delete Sales Records ");
    EXPECT_EQ(monthRows("tblPurchase1") + monthRows("tblSales"), 0);
    for (const char* table : {"tblPurchase1", "tblSales", "tblPurchaseInterState1"})
        EXPECT_EQ(count(db, table), 2) << table;   // other month, other dealer
    // The summary and report tables are not Delete's business.
    EXPECT_EQ(count(db, "tblCommon") + count(db, "tblRptPurchase1"), 2);
    EXPECT_EQ(form->fg1->Rows(), 2);
    EXPECT_EQ(form->fg1->TextMatrix(0, 2) + form->fg1->TextMatrix(1, 0) + form->fg1->TextMatrix(1, 2), "Party1");
    EXPECT_EQ(form->txtGrid1->Text() + form->fg2->TextMatrix(1, 2), "");
    EXPECT_EQ(form->txtTotal->Text() + form->txtTotal2->Text(), "0.000.00");
    for (bool purchase : {true, false}) {
        EXPECT_EQ(grid(purchase)->Row(), 1);
        expectEditorOverCell(purchase);
    }

    // With nothing left, each register says so; by Enter with no icon and the program's title.
    for (bool byEnter : {false, true}) {
        ui::clearShownMessages();
        byEnter ? key(form->cmdDelete, Qt::Key_Return) : click(form->cmdDelete);
        ASSERT_EQ(messages().size(), 2u);
        EXPECT_EQ(messages()[0].prompt, " Record Not exists  of Local Purchase");
        EXPECT_EQ(messages()[1].prompt, " Record Not exists  of Local Sales");
        EXPECT_EQ(messages()[0].title, byEnter ? ui::kDefaultTitle : "Sorry.........!");
        EXPECT_EQ(messages()[0].icon(), byEnter ? 0 : ui::vbInformation);
    }
}

TEST_F(DeleteTest, EachRegisterIsAskedForItselfAndNoRemovesNothing)
{
    // Text still in the cell editor reaches its cell first.
    form->fg1->setRow(1);
    form->fg1->setCol(2);
    fnSelectAllText(*form->txtGrid1);
    QTest::keyClicks(form->txtGrid1, "Typed");
    answer = ui::vbNo;
    click(form->cmdDelete);
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(monthRows("tblPurchase1") + monthRows("tblSales"), 2);
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Typed");

    onMessage = [this](const ui::MessageRecord& m) { answer = m.title == "Delete Sales Records " ? ui::vbYes : ui::vbNo; };
    click(form->cmdDelete);
    EXPECT_EQ(QPoint(monthRows("tblPurchase1"), monthRows("tblSales")), QPoint(1, 0));
    EXPECT_EQ(form->fg1->TextMatrix(1, 2) + "|" + form->fg2->TextMatrix(1, 2), "Typed|");

    // The inter-state register is asked for while List4 shows it, and the local one is kept.
    onMessage = nullptr;
    answer = ui::vbYes;   // the unsaved "Typed" goes with the switch
    form->List4->setListIndex(1);
    keyBills(true, {{"04-03-09", "Far Seller", "T9", "B9", P12, "80", "10", "1"}});
    click(form->cmdAdd);
    ASSERT_EQ(monthRows("tblPurchaseInterState1"), 1);
    ui::clearShownMessages();
    click(form->cmdDelete);
    EXPECT_EQ(messages()[0].title, "Delete Interstate Purchase Records ");
    EXPECT_EQ(QPoint(monthRows("tblPurchaseInterState1"), monthRows("tblPurchase1")), QPoint(0, 1));
}

TEST_F(DeleteTest, ADeleteThatFailsIsReportedAndTheScreenStays)
{
    exec(db, "DROP TABLE tblSales");
    answer = ui::vbYes;
    click(form->cmdDelete);
    // The purchase rows go; the sales register fails and says so.
    EXPECT_EQ(monthRows("tblPurchase1"), 0);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].title, "Sorry.........!");
    EXPECT_TRUE(form->isVisible());
}

TEST_F(DeleteTest, CloseUnloadsTheScreenAndShowsTheOptionScreen)
{
    click(form->cmdClose);
    QApplication::processEvents();
    EXPECT_FALSE(ui::formLoaded<frmNormal>());
    EXPECT_TRUE(ui::formLoaded<frmSelect>() && ui::form<frmSelect>().isVisible());
    // The next showing starts afresh and reads the stored month.
    openScreen();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Local Seller");
}

} // namespace
