// The screen-resolution window on pretend screens, with a recording changer.
#include "ShellFixture.h"

#include "library/frmGlobalSections.h"
#include "library/frmkerala.h"
#include "platform/sys/ChangeRes.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/controls/OptionButton.h"
#include "platform/ui/forms/Screen.h"
#include "platform/ui/controls/TreeView.h"
#include "shell/frmResolution.h"

#include <QGroupBox>
#include <QTest>

namespace {

class ResolutionTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        lawdb::procConnectLawDBs();
        auto c = std::make_unique<sys::RecordingChangeRes>();
        changer = c.get();
        sys::setChangeRes(std::move(c));
    }
    void TearDown() override
    {
        // Whatever a test did, only the two offered sizes were ever asked for.
        for (const QSize& s : changer->requests)
            EXPECT_TRUE(s == QSize(1024, 768) || s == QSize(800, 600)) << s.width() << "x" << s.height();
        ui::Screen::setSizeForTests({});
        sys::setChangeRes(nullptr);
        ShellFixture::TearDown();
    }
    frmResolution& open(QSize screen)
    {
        ui::Screen::setSizeForTests(screen);
        frmResolution& r = ui::form<frmResolution>();
        r.Show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&r));
        return r;
    }
    // The library window the way a user left it: shown, with the Act tree chosen.
    QPointer<frmkerala> openLibrary()
    {
        frmkerala& lib = ui::form<frmkerala>();
        lib.Show();
        lib.Toolbar2_ButtonClick("Act");
        return &lib;
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    sys::RecordingChangeRes* changer = nullptr;
};

} // namespace

// The option matching the screen is chosen and focused, so Enter keeps it; Tab moves the colours on.
TEST_F(ResolutionTest, LoadSelectsAndFocusesTheOptionThatMatchesTheScreen)
{
    const std::tuple<QSize, bool, bool> cases[] = {
        {QSize(1024, 768), true, false}, {QSize(800, 600), false, true}, {QSize(1024, 600), false, false}};
    for (const auto& [screen, first, second] : cases) {
        SCOPED_TRACE(testing::Message() << screen.width() << "x" << screen.height());
        frmResolution& r = open(screen);
        EXPECT_EQ(r.Option1->Value(), first);
        EXPECT_EQ(r.Option2->Value(), second);
        ui::OptionButton* focused = second ? r.Option2 : r.Option1;
        ui::OptionButton* other = second ? r.Option1 : r.Option2;
        ASSERT_EQ(r.focusWidget(), focused);
        const long on = focused->BackColor(), off = other->BackColor();
        EXPECT_NE(on, off);
        QTest::keyClick(focused, second ? Qt::Key_Backtab : Qt::Key_Tab);
        ASSERT_EQ(r.focusWidget(), other);
        EXPECT_TRUE(other->BackColor() == on && focused->BackColor() == off);
        r.Command2_Click();
        settle();
    }
    EXPECT_TRUE(changer->requests.isEmpty());
}

TEST_F(ResolutionTest, EnterSwitchesAndOpensTheLibraryWindowAfresh)
{
    QPointer<frmkerala> before = openLibrary();
    // A search screen of the old window is open: it goes with its window.
    auto* act = before->findChild<ui::TreeView*>("Tvw");
    act->setSelectedItem(act->Nodes("VAT"));
    before->Tvw_DblClick();
    QPointer<frmGlobalSections> screen = before->screen("ObjActGlobalSections");
    ASSERT_FALSE(screen.isNull());
    frmResolution& r = open(QSize(800, 600));
    QPointer<frmResolution> window(&r);
    QTest::keyClick(r.Option1, Qt::Key_Return);
    EXPECT_EQ(changer->requests, QList<QSize>{QSize(1024, 768)});
    EXPECT_FALSE(ui::formLoaded<frmResolution>());
    ASSERT_TRUE(ui::formLoaded<frmkerala>());
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());
    EXPECT_EQ(ui::form<frmkerala>().CurrentToolbarKey(), "");   // a new window, not the one left behind
    settle();
    EXPECT_TRUE(before.isNull() && screen.isNull() && window.isNull());
    EXPECT_TRUE(messages().empty());

    // Enter also opens it when it was never loaded; keys other than Enter do nothing.
    ui::form<frmkerala>().Unload();
    settle();
    frmResolution& again = open(QSize(1024, 768));
    QTest::keyClick(again.Option2, Qt::Key_A);
    EXPECT_EQ(changer->requests.size(), 1);
    QTest::keyClick(again.Option2, Qt::Key_Return);
    EXPECT_EQ(changer->requests.last(), QSize(800, 600));
    EXPECT_TRUE(ui::formLoaded<frmkerala>() && ui::form<frmkerala>().isVisible());
}

TEST_F(ResolutionTest, DoubleClickSwitchesWithoutReopeningTheLibraryAndCancelOnlyCloses)
{
    QPointer<frmkerala> library = openLibrary();
    library->Hide();
    frmResolution& r = open(QSize(1024, 768));
    QTest::mouseDClick(r.Option2, Qt::LeftButton);
    EXPECT_EQ(changer->requests, QList<QSize>{QSize(800, 600)});
    EXPECT_FALSE(ui::formLoaded<frmResolution>());
    settle();
    ASSERT_FALSE(library.isNull());   // the same library window, still hidden
    EXPECT_FALSE(library->isVisible());
    EXPECT_EQ(library->CurrentToolbarKey(), "Act");

    QTest::mouseClick(open(QSize(1024, 768)).Command2, Qt::LeftButton);
    EXPECT_FALSE(ui::formLoaded<frmResolution>());
    EXPECT_EQ(changer->requests.size(), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ResolutionTest, AFailedChangeIsReportedOnceAndTheProgramGoesOn)
{
    changer->problem = QStringLiteral("the screen does not offer 1024 x 768");
    openLibrary();
    QTest::keyClick(open(QSize(800, 600)).Option1, Qt::Key_Return);
    EXPECT_EQ(changer->requests, QList<QSize>{QSize(1024, 768)});
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.contains("could not be changed to 1024 x 768"));
    EXPECT_TRUE(messages()[0].prompt.contains(changer->problem));
    EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());   // the Enter path still ends in the library
    EXPECT_FALSE(ended.has_value());
}
