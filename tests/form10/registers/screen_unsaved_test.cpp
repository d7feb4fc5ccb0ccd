// Bills keyed and not saved are thrown away only on a Yes: Close (button or frame), the
// purchase switch List4, another month, the option screen's Cancel and the program's end ask
// first. A save over bills of another year asks too.
#include "register_support.h"

#include "form10/registers/frmSelect.h"
#include "platform/sys/Desktop.h"
#include "platform/ui/controls/Toolbar.h"
#include "shell/ShellState.h"
#include "shell/main.h"

#include <QScopeGuard>
#include <QToolButton>

using namespace f10test;

namespace {

const int kQuestion = ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2;

QString neighbour() { return vb::MonthName(sys::today().month() > 1 ? sys::today().month() - 1 : 2); }

class UnsavedBills : public RegisterScreen {
protected:
    void seed() override
    {
        storeBill("tblPurchase1", currentMonth(), "Current Local");
        storeBill("tblPurchaseInterState1", currentMonth(), "Current Inter");
        storeBill("tblSales", currentMonth(), "Current Sale");
        storeBill("tblPurchase1", neighbour(), "Neighbour Local");
        storeBill("tblSales", neighbour(), "Neighbour Sale");
    }
    // The one question asked (after `before` other messages), naming the month and what was
    // about to happen.
    void expectAsked(const QString& month, const QString& action, const QString& bills = "bills", size_t before = 0)
    {
        ASSERT_EQ(messages().size(), before + 1) << action.toStdString() << ": " << lastPrompt().toStdString();
        EXPECT_EQ(messages()[before].prompt, QString("The %1 keyed for %2 have not been saved.\r\n\r\nIf you %3 now, "
                                                     "they are lost.\r\n\r\nDiscard the unsaved %1 of %2?")
                                                 .arg(bills, month, action));
        EXPECT_EQ(messages()[before].buttons, kQuestion);
        EXPECT_EQ(messages()[before].title, "Unsaved bills");
        ui::clearShownMessages();
    }
    QString parties() const
    {
        QStringList p;
        for (const ui::FlexGrid* g : {form->fg1, form->fg2})
            for (int r = 1; r < g->Rows(); ++r)
                if (!g->TextMatrix(r, 2).isEmpty())
                    p << g->TextMatrix(r, 2);
        return p.join(", ");
    }
    void switchPurchases(int entry, bool byMouse)
    {
        if (byMouse) {
            const QRect item = form->List4->visualItemRect(form->List4->item(entry));
            QTest::mouseClick(form->List4->viewport(), Qt::LeftButton, {}, item.center());
        } else {
            focus(form->List4);
            key(form->List4, entry ? Qt::Key_Down : Qt::Key_Up);
        }
        QApplication::processEvents();
    }
    QStringList pickerEntries() const
    {
        QStringList e;
        for (int i = 0; i < form->List2->ListCount(); ++i)
            e << form->List2->List(i);
        return e;
    }
    void chooseMonth(bool neighbourMonth, bool byLeaving = false)
    {
        focus(form->txtRPTo);
        if (neighbourMonth)
            key(form->List1, sys::today().month() > 1 ? Qt::Key_Up : Qt::Key_Down);
        byLeaving ? focus(form->txtPlace) : key(form->List1, Qt::Key_Return);
    }
    // A bill in a year of its own.
    void storeDated(const char* table, const QString& party, const QString& isoDate)
    {
        exec(db, QString("INSERT INTO %1 (SlNo, BillDate, Party, RateOfTax, Amount, Tax, Cess, NetAmount, cMonth, cCode) "
                         "VALUES ('1', '%2', '%3', '4', 10, 0, 0, 10, '%4', '')")
                     .arg(table, isoDate, party, currentMonth()));
    }
};

TEST_F(UnsavedBills, CloseAsksOnlyOverUnsavedBillsAndNoKeepsTheScreenAsItWas)
{
    click(form->cmdClose);
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_FALSE(ui::formLoaded<frmNormal>());
    openScreen();

    const QString stored = dump(db);
    keyBill(true, {"02-06-26", "Keyed Seller", "T", "B", P4, "10", "0.40", "0"});
    // Text typed into an editor and not yet entered counts too.
    focus(form->txtGrid2);
    form->fg2->setCol(3);
    QTest::keyClicks(form->txtGrid2, "TIN typed");
    answer = ui::vbNo;
    click(form->cmdClose);
    expectAsked(currentMonth(), "close the register screen");
    ASSERT_TRUE(ui::formLoaded<frmNormal>());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(parties(), "Current Local, Keyed Seller, Current Sale");
    EXPECT_EQ(form->txtGrid2->Text(), "TIN typed");
    EXPECT_EQ(label("Label14"), "110.00");
    // Closed by its frame: the same question, the same No.
    form->close();
    QApplication::processEvents();
    expectAsked(currentMonth(), "close the register screen");
    ASSERT_TRUE(ui::formLoaded<frmNormal>());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dump(db), stored);

    answer = ui::vbYes;
    click(form->cmdClose);
    expectAsked(currentMonth(), "close the register screen");
    EXPECT_FALSE(ui::formLoaded<frmNormal>());
    EXPECT_TRUE(ui::form<frmSelect>().isVisible());
    EXPECT_EQ(dump(db), stored);   // thrown away, as answered
}

TEST_F(UnsavedBills, SalesBillsAloneAskOnEveryRoadThatWouldEndThemAndNoLeavesBothWindowsAsTheyWere)
{
    sys::setDesktop(std::make_unique<sys::RecordingDesktop>());
    bool ended = false;
    shell::setEndProgramHook([&](int) { ended = true; });
    const auto restore = qScopeGuard([] {
        shell::setEndProgramHook(nullptr);
        sys::setDesktop(nullptr);
    });
    main& mainWindow = ui::form<main>();
    mainWindow.Show();
    frmSelect& select = ui::form<frmSelect>();   // open behind the register screen
    select.Show();
    openScreen();
    switchPurchases(1, false);
    keyBill(false, {"03-06-26", "Keyed Buyer", "T", "X", S4, "20", "0", "0"});
    const QString stored = dump(db);

    // The shut-down picture's own question is answered Yes, the bills' question No.
    onMessage = [&](const ui::MessageRecord& m) { answer = m.title == "Exit Windows" ? ui::vbYes : ui::vbNo; };
    const std::pair<QString, std::function<void()>> roads[] = {
        {"close the register screen", [&] { click(form->cmdClose); }},
        {"show " + neighbour(), [&] { chooseMonth(true); }},
        {"leave the Form 10 tool", [&] { click(select.cmdClose); }},
        {"exit Lumora", [&] { click(mainWindow.Toolbar2->findButton("EXI")->widget()); }},
        {"exit Lumora", [&] { mainWindow.close(); }},
        {"shut the computer down", [&] { mainWindow.Picture6_Click(); }},
    };
    for (const auto& [action, road] : roads) {
        road();
        QApplication::processEvents();
        expectAsked(currentMonth(), action, "bills", action.startsWith("shut") ? 1 : 0);
        ASSERT_TRUE(ui::formLoaded<frmNormal>() && ui::formLoaded<frmSelect>() && ui::formLoaded<main>());
        EXPECT_TRUE(form->isVisible() && select.isVisible() && mainWindow.isVisible());
        EXPECT_EQ(month() + " " + form->txtMonth->Text(), currentMonth() + " " + currentMonth());
        EXPECT_EQ(form->List4->ListIndex(), 1);
        EXPECT_EQ(parties(), "Current Inter, Current Sale, Keyed Buyer");
        EXPECT_EQ(label("Label21"), "120.00");
        EXPECT_FALSE(ended);
    }
    EXPECT_EQ(static_cast<sys::RecordingDesktop&>(sys::desktop()).shutDownRequests, 0);

    onMessage = nullptr;
    answer = ui::vbYes;
    click(select.cmdClose);
    expectAsked(currentMonth(), "leave the Form 10 tool");
    EXPECT_FALSE(ui::formLoaded<frmNormal>() || ui::formLoaded<frmSelect>());
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_EQ(dump(db), stored);
}

TEST_F(UnsavedBills, ThePurchaseSwitchAsksOverUnsavedPurchaseBillsOnlyAndNoLeavesItAsItWas)
{
    // Unsaved sales bills stay on the screen through the switch: nothing to ask.
    keyBill(false, {"03-06-26", "Keyed Buyer", "T", "X", S4, "20", "0", "0"});
    switchPurchases(1, false);
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(parties(), "Current Inter, Current Sale, Keyed Buyer");
    const QStringList interState = pickerEntries();

    keyBill(true, {"04-06-26", "Keyed Inter", "T", "B", P1, "30", "0.30", "0"});
    answer = ui::vbNo;
    for (bool byMouse : {true, false}) {
        switchPurchases(0, byMouse);
        expectAsked(currentMonth(), "show the local purchases", "purchase bills");
        EXPECT_EQ(form->List4->ListIndex(), 1) << byMouse;
        ASSERT_EQ(form->List4->selectedItems().size(), 1);
        EXPECT_EQ(form->List4->selectedItems()[0]->text(), "Inter State Purchase");
        EXPECT_EQ(pickerEntries(), interState);
        EXPECT_EQ(parties(), "Current Inter, Keyed Inter, Current Sale, Keyed Buyer");
        EXPECT_EQ(label("Label13"), "30.00");
    }
    answer = ui::vbYes;
    switchPurchases(0, false);
    expectAsked(currentMonth(), "show the local purchases", "purchase bills");
    EXPECT_EQ(parties(), "Current Local, Current Sale, Keyed Buyer");
    EXPECT_EQ(form->List4->ListIndex(), 0);
    EXPECT_EQ(form->List2->List(4), "     20       ");
    EXPECT_EQ(count(db, "tblPurchaseInterState1"), 1);
}

TEST_F(UnsavedBills, AnotherMonthAsksNamingTheMonthAndNoKeepsTheMonthTheSwitchAndTheRows)
{
    keyBill(true, {"05-06-26", "Keyed Seller", "T", "B", P4, "10", "0", "0"});
    const QString stored = dump(db);
    answer = ui::vbNo;
    chooseMonth(true);
    expectAsked(currentMonth(), "show " + neighbour());
    EXPECT_EQ(form->txtRPTo->Text() + " " + form->txtMonth->Text(), currentMonth() + " " + currentMonth());
    EXPECT_FALSE(form->List1->isVisible());
    EXPECT_TRUE(form->List4->isEnabled());
    EXPECT_EQ(form->List4->ListIndex(), 0);
    EXPECT_EQ(parties(), "Current Local, Keyed Seller, Current Sale");
    EXPECT_TRUE(form->txtGrid1->hasFocus());

    // The same month again keeps the rows without a word.
    chooseMonth(false);
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(parties(), "Current Local, Keyed Seller, Current Sale");
    EXPECT_EQ(dump(db), stored);

    // Leaving the list on another month asks too; Yes shows that month.
    answer = ui::vbYes;
    chooseMonth(true, true);
    expectAsked(currentMonth(), "show " + neighbour());
    EXPECT_EQ(form->txtRPTo->Text(), neighbour());
    EXPECT_EQ(parties(), "Neighbour Local, Neighbour Sale");
    // Nothing keyed since: no question.
    chooseMonth(false);
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(parties(), "Current Local, Current Sale");
    EXPECT_EQ(dump(db), stored);
}

TEST_F(UnsavedBills, ASaveOverBillsOfAnotherYearAsksNamingTheMonthAndBothYearsAndNoChangesNothing)
{
    exec(db, "DELETE FROM tblPurchase1; DELETE FROM tblSales");
    storeDated("tblPurchase1", "Last Year Seller", "2025-06-03");
    storeDated("tblSales", "Last Year Buyer", "2025-06-04");
    form->procReadPurchase();
    form->procReadSales_1();
    const QString stored = dump(db);

    // Last year's purchase replaced by this year's; the sales kept as they are.
    focus(form->txtGrid1);
    form->fg1->setRow(1);
    key(form->txtGrid1, Qt::Key_Y, Qt::ControlModifier);
    keyBill(true, {"06-06-26", "This Year Seller", "T", "B", P4, "10", "0", "0"});
    answer = ui::vbNo;
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].prompt,
              QString("%1 already holds bills of 2025.\r\nThe bills being saved are of 2026.\r\n\r\nThe registers keep one "
                      "year for each month: saving replaces the %1 bills of 2025 with these. Back up the data files "
                      "first to keep them.\r\n\r\nReplace the %1 bills of 2025?")
                  .arg(currentMonth()));
    EXPECT_EQ(messages()[0].buttons, kQuestion);
    EXPECT_EQ(messages()[0].title, "Bills of another year");
    EXPECT_EQ(dump(db), stored);
    EXPECT_EQ(parties(), "This Year Seller, Last Year Buyer");
    EXPECT_TRUE(form->fg1Edited);

    ui::clearShownMessages();
    answer = ui::vbYes;
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].prompt, "RECORD ADDED  SUCCESSFULLY");
    const auto purchases = query(db, "SELECT Party, BillDate FROM tblPurchase1");
    ASSERT_EQ(purchases.size(), 1u);
    EXPECT_EQ(purchases[0].at("Party").text + " " + purchases[0].at("BillDate").text, "This Year Seller 2026-06-06");
    EXPECT_EQ(count(db, "tblSales", "Party='Last Year Buyer'"), 1);

    // Bills of the year stored, or of both years, replace nothing of another: nothing asked.
    ui::clearShownMessages();
    keyBill(true, {"07-06-26", "Another Seller", "T", "B", P4, "10", "0", "0"});
    keyBill(false, {"08-06-26", "This Year Buyer", "T", "X", S4, "10", "0", "0"});
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u) << messages()[0].prompt.toStdString();
    EXPECT_EQ(count(db, "tblSales"), 2);

    // The sales register asks for itself, naming every year.
    exec(db, "UPDATE tblSales SET BillDate = '2024-06-08' WHERE Party = 'This Year Buyer'");
    form->procReadSales_1();
    focus(form->txtGrid2);
    for (int i = 0; i < 2; ++i) {
        form->fg2->setRow(1);
        key(form->txtGrid2, Qt::Key_Y, Qt::ControlModifier);
    }
    keyBill(false, {"09-06-26", "New Buyer", "T", "X", S4, "10", "0", "0"});
    ui::clearShownMessages();
    answer = ui::vbNo;
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith(currentMonth() + " already holds bills of 2024 and 2025.\r\nThe bills "
                                                "being saved are of 2026."))
        << messages()[0].prompt.toStdString();
    EXPECT_EQ(count(db, "tblSales"), 2);
    // Stored bills of two years, one of them the year saved: the other year's still go.
    exec(db, "UPDATE tblSales SET BillDate = '2026-06-08' WHERE Party = 'This Year Buyer'");
    ui::clearShownMessages();
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith(currentMonth() + " already holds bills of 2025.\r\nThe bills being "
                                                "saved are of 2026."))
        << messages()[0].prompt.toStdString();
}

TEST_F(UnsavedBills, AnInterStateSaveOverBillsOfAnotherYearAsksToo)
{
    exec(db, "DELETE FROM tblPurchaseInterState1");
    storeDated("tblPurchaseInterState1", "Last Year Inter", "2025-06-05");
    switchPurchases(1, false);
    ASSERT_EQ(form->List4->ListIndex(), 1);
    focus(form->txtGrid1);
    form->fg1->setRow(1);
    key(form->txtGrid1, Qt::Key_Y, Qt::ControlModifier);
    keyBill(true, {"06-06-26", "This Year Inter", "T", "B", P4, "10", "0", "0"});
    const QString stored = dump(db);
    ui::clearShownMessages();
    answer = ui::vbNo;
    click(form->cmdAdd);
    ASSERT_EQ(messages().size(), 1u) << lastPrompt().toStdString();
    EXPECT_TRUE(messages()[0].prompt.startsWith(currentMonth() + " already holds bills of 2025.\r\nThe bills being "
                                                "saved are of 2026."))
        << messages()[0].prompt.toStdString();
    EXPECT_EQ(dump(db), stored);
}

} // namespace
