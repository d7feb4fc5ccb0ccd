// Delete and Close on the register screen.
#include "storage_support.h"

#include "form10/registers/frmSelect.h"

using namespace storetest;

namespace {

class DeleteTest : public ScreenFixture {
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        keyBills(true, {{"02-03-09", "Local Seller", "T1", "B1", P4, "100", "4", "0"}});
        keyBills(false, {{"03-03-09", "Buyer", "S1", "X1", S4, "50", "2", "0"}});
        clickSave();
        ASSERT_EQ(count(db, QStringLiteral("tblPurchase1")), 1);
        // Rows of another month and of another dealer that no delete may touch.
        for (const char* table : {"tblPurchase1", "tblPurchaseInterState1", "tblSales"}) {
            exec(db, QStringLiteral("INSERT INTO %1 (SlNo, Party, cMonth, cCode) VALUES ('1', 'Other month', "
                                    "'NoSuchMonth', '')").arg(QLatin1String(table)));
            exec(db, QStringLiteral("INSERT INTO %1 (SlNo, Party, cMonth, cCode) VALUES ('1', 'Other dealer', "
                                    "'%2', 'D2')").arg(QLatin1String(table), month()));
        }
        ui::clearShownMessages();
    }
    int monthRows(const char* table)
    {
        return count(db, QLatin1String(table), QStringLiteral("cCode='' AND cMonth='%1'").arg(month()));
    }
};

TEST_F(DeleteTest, YesRemovesExactlyTheDealersMonthAndClearsTheGrids)
{
    answer = ui::vbYes;
    clickDelete();

    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, QStringLiteral(" Are you Sure "));
    EXPECT_EQ(messages()[0].title, QStringLiteral("Delete Local Purchase Records "));
    EXPECT_EQ(messages()[0].buttonSet(), ui::vbYesNo);
    EXPECT_EQ(messages()[0].icon(), ui::vbQuestion);
    EXPECT_EQ(messages()[1].title, QStringLiteral("Delete Sales Records "));

    EXPECT_EQ(monthRows("tblPurchase1"), 0);
    EXPECT_EQ(monthRows("tblSales"), 0);
    EXPECT_EQ(count(db, QStringLiteral("tblPurchase1")), 2);   // other month, other dealer
    EXPECT_EQ(count(db, QStringLiteral("tblSales")), 2);
    EXPECT_EQ(count(db, QStringLiteral("tblPurchaseInterState1")), 2);
    // The summary and report tables are not Delete's business.
    EXPECT_EQ(count(db, QStringLiteral("tblCommon")), 1);
    EXPECT_EQ(count(db, QStringLiteral("tblRptPurchase1")), 1);

    EXPECT_EQ(screen->fg1->Rows(), 2);
    EXPECT_EQ(screen->fg1->TextMatrix(0, 2), QStringLiteral("Party"));
    EXPECT_EQ(screen->fg1->TextMatrix(1, 0), QStringLiteral("1"));
    EXPECT_TRUE(screen->fg1->TextMatrix(1, 2).isEmpty());
    EXPECT_TRUE(screen->txtGrid1->Text().isEmpty());
    EXPECT_TRUE(screen->fg2->TextMatrix(1, 2).isEmpty());
    EXPECT_EQ(screen->txtTotal->Text(), QStringLiteral("0.00"));
}

TEST_F(DeleteTest, NoRemovesNothing)
{
    answer = ui::vbNo;
    clickDelete();
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(monthRows("tblPurchase1"), 1);
    EXPECT_EQ(monthRows("tblSales"), 1);
    EXPECT_EQ(screen->fg1->TextMatrix(1, 2), QStringLiteral("Local Seller"));
}

TEST_F(DeleteTest, NoForPurchasesYesForSalesRemovesOnlyTheSales)
{
    onMessage = [this](const ui::MessageRecord& m) {
        answer = m.title == QStringLiteral("Delete Sales Records ") ? ui::vbYes : ui::vbNo;
    };
    clickDelete();
    EXPECT_EQ(monthRows("tblPurchase1"), 1);
    EXPECT_EQ(monthRows("tblSales"), 0);
    EXPECT_EQ(screen->fg1->TextMatrix(1, 2), QStringLiteral("Local Seller"));
    EXPECT_TRUE(screen->fg2->TextMatrix(1, 2).isEmpty());
}

TEST_F(DeleteTest, InterStateDeleteLeavesTheLocalRegister)
{
    chooseInterState();
    keyBills(true, {{"04-03-09", "Far Seller", "T9", "B9", P12, "80", "10", "1"}});
    clickSave();
    ASSERT_EQ(monthRows("tblPurchaseInterState1"), 1);
    ui::clearShownMessages();
    answer = ui::vbYes;
    clickDelete();
    EXPECT_EQ(messages()[0].title, QStringLiteral("Delete Interstate Purchase Records "));
    EXPECT_EQ(monthRows("tblPurchaseInterState1"), 0);
    EXPECT_EQ(monthRows("tblPurchase1"), 1);
}

TEST_F(DeleteTest, AMonthWithoutRowsSaysSoForEachRegister)
{
    answer = ui::vbYes;
    clickDelete();
    ui::clearShownMessages();
    clickDelete();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, QStringLiteral(" Record Not exists  of Local Purchase"));
    EXPECT_EQ(messages()[0].title, QStringLiteral("Sorry.........!"));
    EXPECT_EQ(messages()[0].icon(), ui::vbInformation);
    EXPECT_EQ(messages()[1].prompt, QStringLiteral(" Record Not exists  of Local Sales"));

    // By Enter: no icon, the program's own title.
    ui::clearShownMessages();
    QTest::keyClick(screen->cmdDelete, Qt::Key_Return);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].icon(), 0);
    EXPECT_EQ(messages()[0].title, ui::kDefaultTitle);
}

TEST_F(DeleteTest, CloseUnloadsTheScreenAndShowsTheOptionScreen)
{
    QTest::mouseClick(screen->cmdClose, Qt::LeftButton);
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_FALSE(ui::formLoaded<frmNormal>());
    ASSERT_TRUE(ui::formLoaded<frmSelect>());
    EXPECT_TRUE(ui::form<frmSelect>().isVisible());
    // The next showing starts afresh and reads the stored month.
    openScreen();
    EXPECT_EQ(screen->fg1->TextMatrix(1, 2), QStringLiteral("Local Seller"));
}

} // namespace
