// The document window on the sample data: binding, the placeholder, opening through the
// desktop, closing, the marquee and the layout.
#include "TestProgramFolder.h"
#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "library/keralaforms.h"
#include "platform/db/Recordset.h"
#include "platform/sys/Desktop.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/OleView.h"
#include "platform/ui/RemoteData.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Twips.h"
#include "shell/ShellState.h"
#include "library/frmkerala.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DocumentWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        lawdb::resetState();
        shell::resetState();
        lawdb::procConnectLawDBs();
        auto d = std::make_unique<sys::RecordingDesktop>();
        desktop = d.get();
        sys::setDesktop(std::move(d));
        kf = &ui::form<keralaforms>();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sys::setDesktop(nullptr);
        lawdb::resetState();
        shell::resetState();
    }
    // A document name of the sample data and its bytes.
    std::pair<QString, QByteArray> sampleDocument()
    {
        auto rs = lawdb::getRecordSet("SELECT name, fname FROM Kerala WHERE fname IS NOT NULL", "Kerala");
        EXPECT_TRUE(rs && !rs->Eof());
        return {rs->Fields("name").Value().toString(), rs->Fields("fname").Value().toBytes()};
    }
    void bindAndShow(const QString& sql)
    {
        if (!lawdb::IsQueryReturnsNullCnStr(sql, lawdb::state().LawConnectString1)) {
            kf->MSRDC1->setConnect(lawdb::state().LawConnectString1);
            kf->MSRDC1->setSQL(sql);
        }
        kf->MSRDC1->Refresh();
        kf->OLE1->setDataField("fname");
        kf->Show();
    }
    QString quoted(QString s) { return "'" + s.replace("'", "''") + "'"; }

    TestProgramFolder folder;
    sys::RecordingDesktop* desktop = nullptr;
    keralaforms* kf = nullptr;
    ui::ScopedMsgBoxResponder answers;
};

} // namespace

TEST_F(DocumentWindowTest, ShowsTheBoundDocumentAndThenAnother)
{
    EXPECT_EQ(kf->Caption(), "Display  Window");
    EXPECT_EQ(kf->WindowState(), ui::vbMaximized);
    const auto [name, bytes] = sampleDocument();
    bindAndShow("select fname from Kerala where name=" + quoted(name));
    EXPECT_EQ(kf->OLE1->data(), bytes);
    EXPECT_FALSE(kf->OLE1->toPlainText().trimmed().isEmpty());
    EXPECT_FALSE(kf->OLE1->toPlainText().contains("\\par"));

    const QByteArray placeholder = [] {
        auto rs = lawdb::getRecordSet(lawdb::kPlaceholderQuery, "Globalvat");
        return rs->Fields(0).Value().toBytes();
    }();
    ASSERT_FALSE(placeholder.isEmpty());
    ASSERT_NE(placeholder, bytes);
    keralaforms* before = kf;
    bindAndShow("select fname from Kerala where name='no such document'");
    EXPECT_EQ(&ui::form<keralaforms>(), before);   // the same window, bound again
    EXPECT_EQ(kf->MSRDC1->SQL(), lawdb::kPlaceholderQuery);
    EXPECT_EQ(kf->OLE1->data(), placeholder);
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(DocumentWindowTest, NullDocumentShowsThePlaceholder)
{
    lawdb::state().LawConnection1->Execute("INSERT INTO Kerala (name, type) VALUES ('empty one', 'Act')");
    bindAndShow("select fname from Kerala where name='empty one'");
    EXPECT_EQ(kf->MSRDC1->SQL(), lawdb::kPlaceholderQuery);
    EXPECT_TRUE(kf->OLE1->hasDocument());
}

TEST_F(DocumentWindowTest, ClickOpensACopyThroughTheDesktop)
{
    const auto [name, bytes] = sampleDocument();
    bindAndShow("select fname from Kerala where name=" + quoted(name));
    kf->OLE1->setDataChanged(true);
    QTest::mouseClick(kf->OLE1->viewport(), Qt::LeftButton);
    ASSERT_EQ(desktop->opened.size(), 1);
    EXPECT_FALSE(kf->OLE1->DataChanged());
    QFile copy(desktop->opened[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), bytes);
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(DocumentWindowTest, RefusedOpenIsReported)
{
    const auto [name, bytes] = sampleDocument();
    bindAndShow("select fname from Kerala where name=" + quoted(name));
    desktop->openResult = false;
    kf->OLE1_Click();
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_TRUE(answers.messages()[0].prompt.startsWith("Exception Display Data \n"));
    EXPECT_EQ(answers.messages()[0].title, "IN_DEBUG");
    EXPECT_EQ(answers.messages()[0].icon(), ui::vbExclamation);
}

TEST_F(DocumentWindowTest, ClosingHidesWithoutUnloading)
{
    bindAndShow(lawdb::kPlaceholderQuery);
    shell::state().CurrentStateCode = 3;
    kf->close();   // the frame's close box
    EXPECT_TRUE(ui::formLoaded<keralaforms>());
    EXPECT_FALSE(kf->isVisible());

    kf->Show();
    QTest::keyClick(kf, Qt::Key_Escape);
    EXPECT_FALSE(kf->isVisible());
    kf->Show();
    kf->Picture4_Click();
    EXPECT_FALSE(kf->isVisible());
    EXPECT_TRUE(ui::formLoaded<keralaforms>());
    EXPECT_FALSE(ui::formLoaded<frmkerala>());
    shell::state().CurrentStateCode = 14;   // in the Kerala library: back to the library window
    kf->Show();
    kf->close();
    EXPECT_FALSE(kf->isVisible());
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());
}

TEST_F(DocumentWindowTest, HintSweepsBetweenTheEdges)
{
    EXPECT_TRUE(kf->Timer1->Enabled());
    EXPECT_FALSE(kf->Timer2->Enabled());
    EXPECT_EQ(kf->Timer1->Interval(), 100);
    EXPECT_EQ(kf->Timer2->Interval(), 100);
    const int labelWidth = ui::widthTwips(kf->Label1);
    const int edge = kf->Width() - labelWidth;
    ui::setLeftTwips(kf->Label1, edge - 200);
    kf->Timer1_Timer();
    EXPECT_EQ(ui::leftTwips(kf->Label1), edge - 100);
    EXPECT_TRUE(kf->Timer1->Enabled());
    kf->Timer1_Timer();   // exactly at the edge: reverses on this tick
    EXPECT_EQ(ui::leftTwips(kf->Label1), edge);
    EXPECT_FALSE(kf->Timer1->Enabled());
    EXPECT_TRUE(kf->Timer2->Enabled());

    ui::setLeftTwips(kf->Label1, 200);
    kf->Timer2_Timer();
    EXPECT_TRUE(kf->Timer2->Enabled());
    kf->Timer2_Timer();
    EXPECT_EQ(ui::leftTwips(kf->Label1), 0);
    EXPECT_TRUE(kf->Timer1->Enabled());
    EXPECT_FALSE(kf->Timer2->Enabled());
}

TEST_F(DocumentWindowTest, LayoutCentresTheDocumentAndKeepsItsWidth)
{
    kf->Show();
    kf->setWindowState(ui::vbNormal);
    kf->setWidth(18000);
    kf->setHeight(9000);
    EXPECT_EQ(ui::widthTwips(kf->OLE1), 10245);
    EXPECT_NEAR(ui::leftTwips(kf->OLE1), (kf->ScaleWidth() - 10245) / 2, 1);
    EXPECT_EQ(ui::topTwips(kf->OLE1), 270);
    EXPECT_EQ(ui::heightTwips(kf->OLE1), kf->ScaleHeight() - 540);
    EXPECT_EQ(ui::topTwips(kf->Label1), 15);
    EXPECT_EQ(ui::leftTwips(kf->Picture4) + ui::widthTwips(kf->Picture4), ui::leftTwips(kf->OLE1) + 10245);

    kf->setWidth(6000);
    EXPECT_EQ(ui::leftTwips(kf->OLE1), 0);
    EXPECT_EQ(ui::leftTwips(kf->Picture4) + ui::widthTwips(kf->Picture4), 10245);
    const int height = ui::heightTwips(kf->OLE1);
    kf->setHeight(600);
    if (kf->ScaleHeight() < 540) {
        EXPECT_EQ(ui::heightTwips(kf->OLE1), height);   // a negative height is skipped
    }
    EXPECT_EQ(kf->cmdCancelNonVisible->objectName(), "cmdCancelNonVisible");
}
