// A month counts as stored when any register on view holds rows for it: the screen reads
// them instead of emptying the grids, so the next save cannot delete them.
#include "register_support.h"
#include "platform/sys/Clock.h"

using namespace f10test;

namespace {

class MonthWithSomeRegisters : public RegisterScreen {
protected:
    void store(const char* table, const char* party)
    {
        exec(db, QString("INSERT INTO %1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, cCode) "
                         "VALUES ('1', '2009-09-01', '%2', '4', 100, 4, 0, 104, '%3', '')")
                     .arg(table, party, other()));
    }
    static int otherIndex() { return sys::today().month() > 1 ? sys::today().month() - 2 : 1; }
    static QString other() { return vb::MonthName(otherIndex() + 1); }
    void commitOther()
    {
        focus(form->txtRPTo);
        form->List1->setListIndex(otherIndex());
        key(form->List1, Qt::Key_Return);
    }
};

TEST_F(MonthWithSomeRegisters, SalesWithoutPurchasesAreReadAndSurviveASave)
{
    store("tblSales", "Only Sale");
    commitOther();
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(form->fg2->TextMatrix(1, 2), "Only Sale");
    EXPECT_EQ(form->txtTotal2->Text(), "104.00");

    click(form->cmdAdd);
    EXPECT_EQ(count(db, "tblSales", QString("cMonth='%1' AND Party='Only Sale'").arg(other())), 1);
}

TEST_F(MonthWithSomeRegisters, InterStatePurchasesAreReadWhileList4ShowsThem)
{
    store("tblPurchaseInterState1", "Only Inter");
    form->List4->setListIndex(1);
    commitOther();
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2), "Only Inter");
}

} // namespace
