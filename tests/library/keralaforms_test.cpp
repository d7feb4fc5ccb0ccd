// The document window on the sample data: binding, the placeholder, opening through the
// desktop by a real user's clicks, closing, the marquee and the layout.
#include "LibraryFixture.h"
#include "TextFit.h"

#include "library/DocumentQueries.h"
#include "platform/ui/Timer.h"

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
    void bindSample() { bindAndShow("select fname from Kerala where name='" + library::sqlQuoted(sampleDocument().first) + "'"); }
    // The events a window system delivers for a double click, the closing release included.
    static void doubleClick(QWidget* target)
    {
        const QPointF at(20, 20);
        auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
            QMouseEvent e(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(target, &e);
        };
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }

    keralaforms* kf = nullptr;
};

} // namespace

TEST_F(DocumentWindowTest, ShowsTheBoundDocumentOrThePlaceholderForNothingOrANull)
{
    EXPECT_EQ(kf->WindowState(), ui::vbMaximized);
    bindSample();
    EXPECT_EQ(kf->OLE1->data(), sampleDocument().second);
    EXPECT_FALSE(kf->OLE1->toPlainText().trimmed().isEmpty());
    EXPECT_FALSE(kf->OLE1->toPlainText().contains("\\par"));

    const QByteArray placeholder = lawdb::getRecordSet(lawdb::kPlaceholderQuery, "Globalvat")->Fields(0).Value().toBytes();
    ASSERT_FALSE(placeholder.isEmpty());
    ASSERT_NE(placeholder, sampleDocument().second);
    keralaforms* before = kf;
    bindAndShow("select fname from Kerala where name='no such document'");
    EXPECT_EQ(&document(), before);   // the same window, bound again
    EXPECT_EQ(kf->MSRDC1->SQL(), lawdb::kPlaceholderQuery);
    EXPECT_EQ(kf->OLE1->data(), placeholder);

    lawdb::state().LawConnection1->Execute("INSERT INTO Kerala (name, type) VALUES ('empty one', 'Act')");
    bindSample();
    bindAndShow("select fname from Kerala where name='empty one'");
    EXPECT_EQ(kf->MSRDC1->SQL(), lawdb::kPlaceholderQuery);
    EXPECT_EQ(kf->OLE1->data(), placeholder);
    EXPECT_TRUE(messages().empty());
}

TEST_F(DocumentWindowTest, ADoubleOrSingleClickOpensACopyOnceThroughTheDesktopAndARefusalIsReported)
{
    bindSample();
    kf->OLE1->setDataChanged(true);
    doubleClick(kf->OLE1->viewport());   // the hint asks for one: it opens the document once
    ASSERT_EQ(desktop->opened.size(), 1);
    EXPECT_FALSE(kf->OLE1->DataChanged());
    QFile copy(desktop->opened[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), sampleDocument().second);
    QTest::mouseClick(kf->OLE1->viewport(), Qt::LeftButton);   // a later single click opens it again
    EXPECT_EQ(desktop->opened.size(), 2);
    EXPECT_TRUE(messages().empty());

    desktop->openResult = false;
    kf->OLE1_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("Exception Display Data \n"));
    EXPECT_EQ(messages()[0].title, "IN_DEBUG");
    EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);
}

TEST_F(DocumentWindowTest, ClosingHidesWithoutUnloading)
{
    bindAndShow(lawdb::kPlaceholderQuery);
    shell::state().CurrentStateCode = 3;
    kf->close();   // the frame's close box
    EXPECT_TRUE(ui::formLoaded<keralaforms>());
    EXPECT_FALSE(kf->isVisible());

    kf->Show();
    kf->OLE1->setFocus();
    QTest::keyClick(kf->OLE1, Qt::Key_Escape);   // Escape on the document itself
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

TEST_F(DocumentWindowTest, TheHintReadsWholeAtTheSystemFontsSize)
{
    bindSample();
    EXPECT_EQ(unreadableTexts(kf), "");
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
}
