// The register screen with a few bills keyed into each grid: the editor lies over its cell,
// the picker below the rate cell. With LUMORA_SCREENSHOT_DIR set (run under Xvfb), the
// window is also grabbed to PNG files there for a person to look at.
#include "screen_support.h"

#include <QDir>
#include <QPixmap>

using namespace screentest;

namespace {

class ScreenPicture : public ScreenTest {
protected:
    void grab(const QString& name)
    {
        const QString dir = qEnvironmentVariable("LUMORA_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        QApplication::processEvents();
        EXPECT_TRUE(form->grab().save(QDir(dir).filePath(name)));
    }
};

TEST_F(ScreenPicture, BillsInBothGridsWithTheEditorAndPickerInPlace)
{
    Module2().DealerName = "M/s Lakshmi Stores";
    form->lblCustomerName->setText(Module2().DealerName);
    form->txtPlace->setText("Kochi");
    focusEditor(form->txtGrid1);
    keyBill(form->txtGrid1, form->List2, "02-09-09", "Anand Traders", 2, "1000", "40", "10");
    keyBill(form->txtGrid1, form->List2, "05-09-09", "Cochin Steels", 3, "2400", "300", "24");
    keyBill(form->txtGrid1, form->List2, "11-09-09", "Kerala Agencies", 4, "150", "30", "1.5");
    focusEditor(form->txtGrid2);
    keyBill(form->txtGrid2, form->List3, "03-09-09", "Hill Stores", 2, "500", "20", "5");
    keyBill(form->txtGrid2, form->List3, "09-09-09", "Madras Exports", 5, "1200", "36", "0");

    // Into the rate cell of the next purchase row: the picker drops below it.
    focusEditor(form->txtGrid1);
    keyCell(form->txtGrid1, "14-09-09");
    keyCell(form->txtGrid1, "Pioneer Paints");
    keyCell(form->txtGrid1, "32011");
    keyCell(form->txtGrid1, "B88");
    ASSERT_TRUE(form->List2->isVisible());
    const QRect rateCell = form->fg1->cellRect(form->fg1->Row(), 5).translated(form->fg1->pos());
    EXPECT_LE(std::abs(form->List2->geometry().top() - (rateCell.top() + 20)), 1);
    EXPECT_LE(std::abs(form->List2->geometry().left() - rateCell.left()), 1);
    EXPECT_EQ(form->txtGrid1->geometry(), rateCell);
    grab("register_screen_picker.png");

    pick(form->List2, 1);
    keyCell(form->txtGrid1, "75");
    const QRect taxCell = form->fg1->cellRect(form->fg1->Row(), 7).translated(form->fg1->pos());
    EXPECT_EQ(form->txtGrid1->geometry(), taxCell);
    EXPECT_EQ(label("Label14"), "1000.00");
    EXPECT_EQ(label("Label13"), "75.00");
    EXPECT_EQ(label("Label21"), "500.00");
    EXPECT_EQ(form->fg2->TextMatrix(2, 5), "     CST ");
    EXPECT_EQ(label("Label35"), "1200.00");
    EXPECT_EQ(label("Label36"), "36.00");
    EXPECT_EQ(form->txtTotal->Text(), "4030.50");
    EXPECT_EQ(form->txtTotal2->Text(), "1761.00");
    grab("register_screen.png");
}

} // namespace
