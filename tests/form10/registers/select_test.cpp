// The option screen: focus colours, the three options and Cancel.
#include "register_support.h"

#include "TextFit.h"
#include "form10/registers/frmSelect.h"
#include "platform/ui/controls/OptionButton.h"
#include "shell/main.h"

#include <QFile>

namespace {

// Back and fore colours.
constexpr std::pair<long, long> kPlain{ui::RGB(52, 81, 148), ui::RGB(128, 255, 128)};
constexpr std::pair<long, long> kFocus{ui::RGB(38, 112, 166), ui::RGB(0, 255, 255)};

class OptionScreen : public f10test::Form10Test {
protected:
    void SetUp() override
    {
        Form10Test::SetUp();
        select = &ui::form<frmSelect>();
        select->Show(ui::vbModeless);
        ASSERT_TRUE(QTest::qWaitForWindowActive(select));
        QApplication::processEvents();
    }
    // Only the focused option wears the focus colours.
    void expectFocus(QWidget* focused)
    {
        EXPECT_TRUE(focused->hasFocus()) << focused->objectName().toStdString();
        for (ui::OptionButton* b : {select->Option1, select->Option2, select->Option3})
            EXPECT_EQ(std::pair(b->BackColor(), b->ForeColor()), b == focused ? kFocus : kPlain) << b->objectName().toStdString();
    }

    frmSelect* select = nullptr;
};

TEST_F(OptionScreen, EveryTextReadsWholeAndTabWalksTheOptionsAndCancelWithTheFocusColours)
{
    EXPECT_EQ(unreadableTexts(select), "");
    for (QWidget* next : std::initializer_list<QWidget*>{select->Option1, select->Option2, select->Option3, select->cmdClose}) {
        if (next != select->Option1)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        expectFocus(next);
    }
    EXPECT_EQ(select->cmdClose->BackColor(), ui::RGB(255, 255, 192));
    select->Option1->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(select->cmdClose->BackColor(), ui::RGB(70, 162, 172));
}

TEST_F(OptionScreen, EnterOpensTheRegisterScreenAndCancelUnloadsTheTool)
{
    QTest::keyClick(select->Option1, Qt::Key_Return);
    EXPECT_TRUE(ui::formLoaded<frmNormal>() && ui::form<frmNormal>().isVisible());
    EXPECT_TRUE(select->isVisible());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    click(select->cmdClose);
    EXPECT_FALSE(ui::formLoaded<frmNormal>() || ui::formLoaded<frmSelect>());
    EXPECT_TRUE(ui::formLoaded<main>() && ui::form<main>().isVisible());
}

TEST_F(OptionScreen, AClickOnlySelectsAndADoubleClickOrEnterOpensTheOptionsWindow)
{
    QTest::mouseClick(select->Option2, Qt::LeftButton);
    QTest::mouseClick(select->Option3, Qt::LeftButton);
    EXPECT_TRUE(select->Option3->Value() && !select->Option2->Value() && !select->Option1->Value());
    EXPECT_FALSE(ui::formLoaded<frmEFiling>() || ui::formLoaded<frmDirectForm>());
    QTest::mouseDClick(select->Option2, Qt::LeftButton);
    EXPECT_TRUE(ui::form<frmEFiling>().isVisible());
    Module2().DealerCode = "D7";
    QTest::keyClick(select->Option3, Qt::Key_Return);
    ASSERT_TRUE(ui::formLoaded<frmDirectForm>());
    EXPECT_TRUE(ui::form<frmDirectForm>().isVisible());
    const QString year = QString::number(sys::today().year());
    EXPECT_EQ(ui::form<frmDirectForm>().txtYear->Text() + "|" + Module2().ReturnYear, year + "|" + year);
    EXPECT_TRUE(Module2().DirectFormDealerCode == "D7" && Module2().DirectFormFlag);
    QTest::mouseDClick(select->Option1, Qt::LeftButton);
    EXPECT_TRUE(ui::formLoaded<frmNormal>() && ui::form<frmNormal>().isVisible());
    EXPECT_FALSE(select->isVisible());
}

TEST_F(OptionScreen, AMissingDatabaseIsReportedAndNothingOpens)
{
    QFile::remove(folder.file("nwForm10DB.mdb"));
    QTest::keyClick(select->Option1, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(lastPrompt().startsWith("Form No. 52 :"));
    EXPECT_FALSE(ui::formLoaded<frmNormal>());
    EXPECT_TRUE(select->isVisible());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}

} // namespace
