// The document window on the sample data: binding, the placeholder, opening through the
// desktop by a real user's clicks, closing and the marquee.
#include "LibraryFixture.h"
#include "TextFit.h"

#include "platform/ui/controls/Timer.h"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>

namespace {

class DocumentWindowTest : public LibraryFixture {
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        kf = &document();
    }
    void bindAndShow(const QString& sql) { kf->bindAndShow(nullptr, sql, lawdb::state().LawConnectString1, true); }
    static constexpr const char* kSample = "select fname from Kerala where name='Section 6'";

    keralaforms* kf = nullptr;
};

} // namespace

TEST_F(DocumentWindowTest, ShowsTheBoundDocumentOrThePlaceholderForNothingOrANull)
{
    const QByteArray sample = documentNamed("Section 6"), placeholder = lawColumn(lawdb::kPlaceholderQuery).value(0);
    ASSERT_FALSE(sample.isEmpty() || placeholder.isEmpty());
    ASSERT_NE(placeholder, sample);
    lawdb::state().LawConnection1->Execute("INSERT INTO Kerala (name, type) VALUES ('empty one', 'Act')");
    for (const QString& sql : {QString(kSample), QStringLiteral("select fname from Kerala where name='no such document'"),
                               QString(kSample), QStringLiteral("select fname from Kerala where name='empty one'")}) {
        bindAndShow(sql);
        EXPECT_EQ(&document(), kf);   // the same window, bound again
        EXPECT_EQ(kf->MSRDC1->SQL(), sql == kSample ? sql : lawdb::kPlaceholderQuery);
        EXPECT_EQ(kf->OLE1->data(), sql == kSample ? sample : placeholder) << sql.toStdString();
    }
    EXPECT_FALSE(kf->OLE1->toPlainText().trimmed().isEmpty() || kf->OLE1->toPlainText().contains("\\par"));
    EXPECT_EQ(kf->WindowState(), ui::vbMaximized);
    EXPECT_EQ(unreadableTexts(kf), "");
    EXPECT_TRUE(messages().empty());
}

TEST_F(DocumentWindowTest, ADoubleOrSingleClickOpensACopyOnceThroughTheDesktopAndARefusalIsReported)
{
    bindAndShow(kSample);
    kf->OLE1->setDataChanged(true);
    // the hint asks for a double click, and it opens the document once
    doubleClick(kf->OLE1->viewport());
    ASSERT_EQ(desktop->opened.size(), 1);
    EXPECT_FALSE(kf->OLE1->DataChanged());
    QFile copy(desktop->opened[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), documentNamed("Section 6"));
    QTest::mouseClick(kf->OLE1->viewport(), Qt::LeftButton);   // a later single click opens it again
    EXPECT_EQ(desktop->opened.size(), 2);
    EXPECT_TRUE(messages().empty());

    desktop->openResult = false;
    kf->OLE1_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("Exception Display Data \n"));
    EXPECT_EQ(messages()[0].title, "IN_DEBUG");
    EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);

    // started, then no program found for it: the same message, once the desktop gives up
    desktop->openResult = true;
    desktop->openFailure = "no program on this computer opens this kind of document";
    kf->OLE1_Click();
    EXPECT_EVENTUALLY(messages().size() == 2u);
    EXPECT_EQ(messages().back().prompt, "Exception Display Data \nno program on this computer opens this kind of document");
    EXPECT_EQ(messages().back().title, "IN_DEBUG");
}

// The close box, Escape on the document and the Back picture hide the window; in the Kerala
// library they bring the library window back, and the window the document was opened from
// keeps the keys.
TEST_F(DocumentWindowTest, ClosingHidesWithoutUnloading)
{
    bindAndShow(lawdb::kPlaceholderQuery);
    shell::state().CurrentStateCode = 3;
    const std::function<void()> closers[] = {[&] { kf->close(); }, [&] { QTest::keyClick(kf->OLE1, Qt::Key_Escape); },
                                             [&] { QTest::mouseClick(kf->Picture4, Qt::LeftButton); }};
    for (const auto& close : closers) {
        kf->Show();
        kf->OLE1->setFocus();
        close();
        EXPECT_FALSE(kf->isVisible());
        EXPECT_TRUE(ui::formLoaded<keralaforms>());
    }
    EXPECT_FALSE(ui::formLoaded<frmkerala>());
    shell::state().CurrentStateCode = 14;
    kf->Show();
    kf->close();
    EXPECT_FALSE(kf->isVisible());
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());
    // Shown from another window, each road leaves that window the active one, the library
    // window brought back beneath it.
    ui::Form opener(QStringLiteral("frmOpener"));
    opener.Show();
    for (const auto& close : closers) {
        kf->Show(ui::vbModeless, &opener);
        kf->OLE1->setFocus();
        ui::form<frmkerala>().Hide();
        close();
        EXPECT_FALSE(kf->isVisible());
        EXPECT_TRUE(ui::form<frmkerala>().isVisible());
        EXPECT_EQ(ui::Form::activeForm(), &opener);
    }
}

TEST_F(DocumentWindowTest, HintSweepsBetweenTheEdges)
{
    EXPECT_TRUE(kf->Timer1->Enabled() && !kf->Timer2->Enabled());
    const int edge = kf->Width() - ui::widthTwips(kf->Label1);
    // from where, which timer ticks, where it ends, whether the sweep turned
    for (auto [from, right, to, turned] : {std::tuple{edge - 200, true, edge - 100, false}, {edge - 100, true, edge, true},
                                           {200, false, 100, false}, {100, false, 0, true}}) {
        ui::setLeftTwips(kf->Label1, from);
        right ? kf->Timer1_Timer() : kf->Timer2_Timer();
        EXPECT_EQ(ui::leftTwips(kf->Label1), to) << from;
        EXPECT_EQ(kf->Timer1->Enabled(), right != turned) << from;
        EXPECT_EQ(kf->Timer2->Enabled(), right == turned) << from;
    }
}

// The document keeps its width, centred, or pinned left where the window is narrower, with the
// Back picture at its right edge; a window too short for it leaves its height as it was.
TEST_F(DocumentWindowTest, LayoutCentresTheDocumentOrPinsItLeft)
{
    bindAndShow(kSample);
    kf->setWindowState(ui::vbNormal);
    const int docWidth = ui::widthTwips(kf->OLE1);
    for (auto [width, height] : {std::pair{18000, 9000}, {6000, 9000}, {6000, 300}}) {
        const int before = ui::heightTwips(kf->OLE1);
        kf->setWidth(width);
        kf->setHeight(height);
        EXPECT_EQ(ui::widthTwips(kf->OLE1), docWidth);
        EXPECT_NEAR(ui::leftTwips(kf->OLE1), std::max(0, (kf->ScaleWidth() - docWidth) / 2), 1) << width;
        EXPECT_EQ(ui::heightTwips(kf->OLE1), kf->ScaleHeight() >= 540 ? kf->ScaleHeight() - 540 : before) << height;
        EXPECT_EQ(ui::leftTwips(kf->Picture4) + ui::widthTwips(kf->Picture4), ui::leftTwips(kf->OLE1) + docWidth);
    }
    EXPECT_LT(kf->ScaleHeight(), 540);   // the last window was too short indeed
}
