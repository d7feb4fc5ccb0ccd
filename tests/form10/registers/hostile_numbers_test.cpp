// Amounts too large to be numbers, typed into the register grids: refused with a message, and
// never an infinity in a cell, a total, a label or a table.
#include "register_support.h"

#include <QRegularExpression>

using namespace f10test;

namespace {

class HostileNumbers : public RegisterScreen {
protected:
    // Every text the screen shows: the grids' cells, the labels and the total boxes.
    QStringList shownTexts() const
    {
        QStringList out;
        for (const ui::FlexGrid* g : {form->fg1, form->fg2})
            for (int r = 0; r < g->Rows(); ++r)
                for (int c = 0; c < g->Cols(); ++c)
                    out << g->TextMatrix(r, c);
        for (const QLabel* l : form->findChildren<QLabel*>())
            out << l->text();
        out << form->txtTotal->Text() << form->txtTotal2->Text();
        return out;
    }
    void expectNoInfinity() const
    {
        static const QRegularExpression infinity(QStringLiteral("\\b(inf|nan)\\b"), QRegularExpression::CaseInsensitiveOption);
        for (const QString& text : shownTexts())
            EXPECT_FALSE(text.contains(infinity)) << text.toStdString();
    }
};

} // namespace

TEST_F(HostileNumbers, AnAmountTooLargeToBeANumberIsRefusedAndTheCellKeepsItsValue)
{
    keyBill(true, {"02-03-09", "Alpha Agencies", "T1", "B1", P4, "100", "4", "0"});
    ui::clearShownMessages();
    focus(editor(true));
    grid(true)->setRow(1);
    grid(true)->setCol(6);
    const QString huge(400, '9');
    const auto refused = [&] {
        EXPECT_EQ(messages().size(), 1u);
        if (!messages().empty()) {
            EXPECT_EQ(messages()[0].prompt.toStdString(), "The amount is too large.\r\nPlease enter a smaller amount.");
            EXPECT_EQ(messages()[0].title.toStdString(), "Plase Note.......!");
            EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);
        }
        ui::clearShownMessages();
        // the cell stays current, keeps its value, and the text waits in the editor
        EXPECT_EQ(grid(true)->Col(), 6);
        EXPECT_EQ(grid(true)->TextMatrix(1, 6).toStdString(), "100.00");
        EXPECT_EQ(grid(true)->TextMatrix(1, 9).toStdString(), "104.00");
        EXPECT_EQ(editor(true)->Text(), huge);
        EXPECT_EQ(label("Label14").toStdString(), "100.00");
        expectNoInfinity();
    };
    keyCell(true, huge);   // Enter
    refused();
    key(editor(true), Qt::Key_Down);
    refused();
    QTest::mouseClick(grid(true)->viewport(), Qt::LeftButton, {}, grid(true)->cellRect(1, 2).center());
    refused();
    keyCell(true, "250");   // corrected
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(grid(true)->TextMatrix(1, 6).toStdString(), "250.00");

    click(form->cmdAdd);
    EXPECT_EQ(lastPrompt().toStdString(), "RECORD ADDED  SUCCESSFULLY");
    expectNumbers(only("tblCommon"), {{"PTA4", 250}, {"PTT4", 4}, {"RT4", 254}});
}

// Amounts that are numbers each but too large to add up: the row total is no number, the
// save stops with its message, and no table receives an infinity.
TEST_F(HostileNumbers, AmountsTooLargeToAddUpStopTheSaveWithoutAnInfinity)
{
    const QString big = "1" + QString(308, '0');   // 1e308, the largest order a double holds
    keyBill(true, {"02-03-09", "Alpha Agencies", "T1", "B1", P4, big, big, "0"});
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(grid(true)->TextMatrix(1, 6), vb::Format00(1e308));
    EXPECT_EQ(grid(true)->TextMatrix(1, 9).toStdString(), "");
    EXPECT_EQ(label("Label14"), vb::Format00(1e308));
    expectNoInfinity();

    click(form->cmdAdd);
    EXPECT_TRUE(lastPrompt().startsWith("The month was not saved.")) << lastPrompt().toStdString();
    EXPECT_TRUE(lastPrompt().contains("Overflow")) << lastPrompt().toStdString();
    expectNoInfinity();
    for (const char* table : {"tblPurchase1", "tblCommon", "tblRptPurchaseC"})
        EXPECT_EQ(count(db, table), 0) << table;
}
