// The money cells' leading-number rule, the "#0.00" text of every total, and totals that
// follow a month change which empties the grids. Keyed through the real editors.
#include "TestProgramFolder.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBox.h"
#include "platform/vb/Vb.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kTotalLabels[] = {
    "Label12", "Label13", "Label14", "Label15", "Label10", "Label16", "Label17", "Label18", "Label19",
    "Label34", "Label58", "Label57", "Label56", "Label62", "Label61", "Label23", "Label22", "Label21",
    "Label20", "Label35", "Label45", "Label27", "Label26", "Label25", "Label24", "Label36", "Label44",
    "Label50", "Label49", "Label48", "Label54", "Label53", "Label52"};

class ScreenReview : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetModule2();
        ui::clearShownMessages();
        form = &ui::form<frmNormal>();
        form->Show(ui::vbModeless);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        QApplication::processEvents();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
        resetModule2();
    }
    void key(QWidget* w, Qt::Key k) { QTest::keyClick(w, k); }
    void keyCell(const QString& text)
    {
        fnSelectAllText(*form->txtGrid1);
        if (text.isEmpty())
            key(form->txtGrid1, Qt::Key_Delete);
        else
            QTest::keyClicks(form->txtGrid1, text);
        key(form->txtGrid1, Qt::Key_Return);
    }
    // Keys one purchase bill at rate 0 from column 1 of the current row up to its total.
    void keyBillToTotal(const QString& amount, const QString& tax, const QString& cess)
    {
        for (const char* text : {"26-09-08", "Anand Traders", "32010", "B17"})
            keyCell(QString::fromLatin1(text));
        key(form->List2, Qt::Key_Return);   // entry 0
        keyCell(amount);
        keyCell(tax);
        keyCell(cess);
    }
    QString label(const char* name) const
    {
        auto* l = form->findChild<QLabel*>(QLatin1String(name));
        return l ? l->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
    }
    void expectAllTotalsZero() const
    {
        for (const char* name : kTotalLabels)
            EXPECT_EQ(label(name), "0.00") << name;
        EXPECT_EQ(form->txtTotal->Text(), "0.00");
        EXPECT_EQ(form->txtTotal2->Text(), "0.00");
    }

    TestProgramFolder folder;
    ui::ScopedMsgBoxResponder responder{ui::vbOK};
    frmNormal* form = nullptr;
};

TEST_F(ScreenReview, MoneyCellsKeepOnlyAPlainLeadingNumber)
{
    form->txtGrid1->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    // An exponent or a hexadecimal prefix is not part of the number; blanks are skipped.
    keyBillToTotal(QStringLiteral("1e3"), QStringLiteral("&H10"), QStringLiteral(" 2 .5x"));
    ui::FlexGrid* fg1 = form->fg1;
    ASSERT_EQ(fg1->Col(), 9);
    EXPECT_EQ(fg1->TextMatrix(1, 6), "1.00");
    EXPECT_EQ(fg1->TextMatrix(1, 7), "0.00");
    EXPECT_EQ(fg1->TextMatrix(1, 8), "2.50");
    EXPECT_EQ(fg1->TextMatrix(1, 9), "3.50");
    EXPECT_EQ(form->txtGrid1->Text(), "3.50");
    EXPECT_EQ(label("Label12"), "1.00");
    EXPECT_EQ(label("Label58"), "2.50");
    EXPECT_EQ(form->txtTotal->Text(), "3.50");

    key(form->txtGrid1, Qt::Key_Return);   // next row
    keyBillToTotal(QStringLiteral("-.5"), QStringLiteral("+12."), QStringLiteral("."));
    EXPECT_EQ(fg1->TextMatrix(2, 6), "-0.50");
    EXPECT_EQ(fg1->TextMatrix(2, 7), "12.00");
    EXPECT_EQ(fg1->TextMatrix(2, 8), "0.00");
    EXPECT_EQ(fg1->TextMatrix(2, 9), "11.50");
    EXPECT_EQ(form->txtTotal->Text(), "15.00");
    EXPECT_TRUE(ui::shownMessages().empty());
}

TEST_F(ScreenReview, MoneyTextRoundsHalfAwayWithTwoDecimals)
{
    EXPECT_EQ(vb::Format00(0.005), "0.01");
    EXPECT_EQ(vb::Format00(2.675), "2.68");
    EXPECT_EQ(vb::Format00(-3), "-3.00");
    EXPECT_EQ(vb::Format00(1234.5), "1234.50");
    EXPECT_EQ(vb::Format00(0), "0.00");
}

TEST_F(ScreenReview, EveryTotalIsMoneyTextAndAnEmptiedMonthZeroesThem)
{
    expectAllTotalsZero();
    form->txtGrid1->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    keyBillToTotal(QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("1"));
    EXPECT_EQ(label("Label12"), "100.00");
    EXPECT_EQ(form->txtTotal->Text(), "105.00");

    // Another month, with no rows stored: the grids empty and no old total stays behind.
    form->txtRPTo->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(form->List1->isVisible());
    key(form->List1, form->List1->ListIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
    key(form->List1, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_FALSE(ui::shownMessages().empty());
    EXPECT_EQ(ui::shownMessages().front().prompt, "No Record Exists");
    EXPECT_EQ(form->fg1->TextMatrix(1, 6), "");
    expectAllTotalsZero();
}

TEST_F(ScreenReview, AnEmptiedMonthPutsTheEditorsBackOverTheirCells)
{
    form->txtGrid1->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    for (int bill = 0; bill < 3; ++bill) {
        keyBillToTotal(QStringLiteral("100"), QStringLiteral("4"), QStringLiteral("1"));
        key(form->txtGrid1, Qt::Key_Return);
    }
    ASSERT_EQ(form->fg1->Row(), 4);

    form->txtRPTo->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    key(form->List1, form->List1->ListIndex() == 0 ? Qt::Key_Down : Qt::Key_Up);
    key(form->List1, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(form->fg1->Rows(), 2);
    for (auto [grid, editor] : {std::pair{form->fg1, form->txtGrid1}, std::pair{form->fg2, form->txtGrid2}}) {
        EXPECT_EQ(grid->Row(), 1);
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(editor->Left(), grid->Left() + grid->CellLeft());
        EXPECT_EQ(editor->Top(), grid->Top() + grid->CellTop());
        EXPECT_EQ(editor->Width(), grid->CellWidth());
        EXPECT_EQ(editor->Height(), grid->CellHeight());
    }
}

} // namespace
