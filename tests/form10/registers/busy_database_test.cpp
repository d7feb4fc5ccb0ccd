// The register screen opened while another program is writing to the Form 10 database: it
// waits for the file and shows the month's bills, instead of failing at once.
#include "HeldWriteLock.h"
#include "register_support.h"

using namespace f10test;

namespace {

class BusyDatabase : public RegisterScreen {
protected:
    void SetUp() override
    {
        resetModule2();
        ui::clearShownMessages();
        exec(db, "INSERT INTO tblPurchase1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, cCode)"
                 " VALUES ('1', '2026-06-02', 'Alpha Agencies', '4', 100, 4, 0, 104, '" + currentMonth() + "', '')");
    }
};

} // namespace

TEST_F(BusyDatabase, TheRegisterScreenWaitsForAFileAnotherProgramHoldsLocked)
{
    HeldWriteLock other(db, 1000);
    ASSERT_TRUE(other.held());
    openScreen();
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(form->fg1->TextMatrix(1, 2).toStdString(), "Alpha Agencies");
    EXPECT_EQ(label("Label14").toStdString(), "100.00");
}
