// The largest amount a cell takes, shown whole everywhere it goes: the grid cells, the rate
// labels, the grand totals and the printed registers; a larger one refused where it is keyed.
#include "register_support.h"

#include "TextFit.h"
#include "platform/ui/reports/CrystalReport.h"
#include "platform/ui/reports/ReportPreview.h"

using namespace f10test;

namespace {

class LargestAmount : public RegisterScreen {
protected:
    // Every figure control of the screen: the grids, their editors, the 33 labels, the totals.
    std::vector<const QWidget*> figureControls() const
    {
        std::vector<const QWidget*> controls = {form->fg1, form->fg2, form->txtGrid1, form->txtGrid2,
                                                form->txtTotal, form->txtTotal2};
        for (const char* name : kTotalLabels)
            controls.push_back(form->findChild<QLabel*>(name));
        return controls;
    }
    // Prints by `button` and returns the laid-out report.
    const ui::ReportLayout* print(ui::CommandButton* button)
    {
        click(button);
        ui::ReportPreview* preview = form->CrystalReport1->previewWindow();
        return preview ? &preview->layout() : nullptr;
    }
    // How many texts of the report are exactly `text`: a figure broken over lines is none.
    static int whole(const ui::ReportLayout& layout, const QString& text)
    {
        int n = 0;
        for (const ui::ReportPage& page : layout.pages)
            for (const ui::ReportText& t : page.texts)
                n += t.text == text;
        return n;
    }
};

TEST_F(LargestAmount, ReadsWholeInEveryCellLabelTotalAndPrintedColumnOfBothSigns)
{
    for (const QString sign : {"", "-"}) {
        SCOPED_TRACE(sign.toStdString());
        ui::FormRegistry::unloadAll();
        ui::clearShownMessages();
        exec(db, "DELETE FROM tblPurchase1; DELETE FROM tblPurchaseInterState1; DELETE FROM tblSales");
        openScreen();
        // Typed with the Indian grouping, in amount, tax and cess, at every rate of both grids.
        const QString typed = sign + "9,99,99,999.99";
        for (int rate = P0; rate <= P20; ++rate)
            keyBill(true, {QString("%1-03-09").arg(rate + 1, 2, 10, QChar('0')), "Seller", "32010000001", "B", rate,
                           typed, typed, typed});
        for (int rate = S0; rate <= SCST; ++rate)
            keyBill(false, {QString("%1-03-09").arg(rate + 1, 2, 10, QChar('0')), "Buyer", "32010000002", "X", rate,
                            typed, typed, typed});
        ASSERT_TRUE(messages().empty()) << lastPrompt().toStdString();
        const QString one = sign + "99999999.99", row = sign + "299999999.97";
        for (bool purchase : {true, false})
            for (int c = 6; c <= 9; ++c)
                EXPECT_EQ(grid(purchase)->TextMatrix(1, c), c == 9 ? row : one) << purchase << c;
        for (const char* name : kTotalLabels)
            EXPECT_EQ(label(name), one) << name;
        EXPECT_EQ(form->txtTotal->Text() + " " + form->txtTotal2->Text(), sign + "1499999999.85 " + sign + "1799999999.82");
        // The largest figure in the editors too.
        form->fg1->setRow(1);
        form->fg1->setCol(9);
        form->fg2->setRow(1);
        form->fg2->setCol(6);
        EXPECT_EQ(clippedTexts(figureControls()), "");

        click(form->cmdAdd);
        ASSERT_EQ(lastPrompt(), "RECORD ADDED  SUCCESSFULLY");
        expectNumbers(query(db, "SELECT * FROM tblPurchase1 WHERE RateOfTax LIKE '%20%'").at(0),
                      {{"Amount", one.toDouble()}, {"Tax", one.toDouble()}, {"NetAmount", row.toDouble()}});
        expectNumbers(only("tblCommon"), {{"PTA12", one.toDouble()}, {"STCCST", one.toDouble()},
                                          {"RT4", row.toDouble()}, {"netTotal", (sign + "1499999999.85").toDouble()}});

        // The printed registers: the bill columns and the totals, each figure one whole text.
        for (ui::CommandButton* button : {form->cmdPrint1, form->Command2}) {
            const ui::ReportLayout* layout = print(button);
            ASSERT_NE(layout, nullptr) << lastPrompt().toStdString();
            EXPECT_EQ(clippedReportTexts(*layout), "") << layout->title.toStdString();
            // Per rate: a bill of three amounts and its total, and a summary line of the same.
            const int rates = button == form->Command2 ? 6 : 5;
            const QString total = sign + (rates == 6 ? "1799999999.82" : "1499999999.85");
            EXPECT_EQ(whole(*layout, one), 6 * rates) << layout->title.toStdString();
            EXPECT_EQ(whole(*layout, row), 2 * rates) << layout->title.toStdString();
            EXPECT_EQ(whole(*layout, total), 1) << layout->title.toStdString();
            // and each bill's TIN on one line
            EXPECT_EQ(whole(*layout, rates == 6 ? "32010000002" : "32010000001"), rates);
        }
        // The inter-state purchase register prints from its own template.
        focus(form->List4);
        key(form->List4, Qt::Key_Down);
        ASSERT_EQ(form->List4->ListIndex(), 1);
        for (int rate = P0; rate <= P20; ++rate)
            keyBill(true, {QString("%1-03-09").arg(rate + 1, 2, 10, QChar('0')), "Seller", "32010000001", "B", rate,
                           typed, typed, typed});
        click(form->cmdAdd);
        ASSERT_EQ(lastPrompt(), "RECORD ADDED  SUCCESSFULLY");
        const ui::ReportLayout* layout = print(form->cmdPrint1);
        ASSERT_NE(layout, nullptr) << lastPrompt().toStdString();
        EXPECT_EQ(layout->title, "Inter State Purchase Register");
        EXPECT_EQ(clippedReportTexts(*layout), "") << layout->title.toStdString();
        EXPECT_EQ(whole(*layout, one), 6 * 5);
        EXPECT_EQ(whole(*layout, row), 2 * 5);
        EXPECT_EQ(whole(*layout, sign + "1499999999.85"), 1);
    }
}

TEST_F(LargestAmount, ALargerAmountIsRefusedWhereItIsKeyedAndTheCellKeepsItsValue)
{
    keyBill(true, {"02-03-09", "Alpha Agencies", "T1", "B1", P4, "100", "4", "0"});
    focus(editor(true));
    const std::pair<const char*, int> cases[] = {
        {"10,00,00,000", 6}, {"100000000", 7}, {"-99,999,999.995", 8}, {"99999999.999", 6}};
    for (const auto& [text, col] : cases) {
        ui::clearShownMessages();
        grid(true)->setRow(1);
        grid(true)->setCol(col);
        keyCell(true, text);
        ASSERT_EQ(messages().size(), 1u) << text;
        EXPECT_TRUE(messages()[0].prompt.startsWith(
            QString("\"%1\" in row 1 of the purchase grid, column %2, is too large.").arg(text, grid(true)->TextMatrix(0, col))))
            << messages()[0].prompt.toStdString();
        expectMentions(messages()[0].prompt, {"up to 9,99,99,999.99"});
        EXPECT_EQ(cell(true), QPoint(1, col));
        EXPECT_EQ(editor(true)->Text(), text);
        EXPECT_EQ(grid(true)->TextMatrix(1, 9), "104.00");
    }
    // Just under, as shown: taken.
    ui::clearShownMessages();
    keyCell(true, "99,999,999.994");
    EXPECT_TRUE(messages().empty()) << lastPrompt().toStdString();
    EXPECT_EQ(grid(true)->TextMatrix(1, 6), "99999999.99");
}

} // namespace
