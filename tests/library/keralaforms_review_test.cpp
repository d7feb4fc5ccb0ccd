// The document window under a real user's mouse: the hint tells the user to double-click the
// document, and a double click must open it once, not once per button release.
#include "LibraryFixture.h"

#include <QMouseEvent>

namespace {

class DocumentWindowReview : public LibraryFixture {
protected:
    void bindFirstDocument()
    {
        keralaforms& kf = document();
        kf.MSRDC1->setConnect(lawdb::state().LawConnectString1);
        kf.MSRDC1->setSQL("select fname from Kerala where fname is not null");
        kf.MSRDC1->Refresh();
        kf.OLE1->setDataField("fname");
        kf.Show();
    }
    // The events a window system delivers for a double click.
    static void doubleClick(QWidget* target)
    {
        const QPointF at(20, 20);
        const QPointF global = target->mapToGlobal(at.toPoint());
        auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
            QMouseEvent e(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(target, &e);
        };
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
};

} // namespace

TEST_F(DocumentWindowReview, DoubleClickOpensTheDocumentOnce)
{
    bindFirstDocument();
    keralaforms& kf = document();
    ASSERT_TRUE(kf.OLE1->hasDocument());
    doubleClick(kf.OLE1->viewport());
    EXPECT_EQ(desktop->opened.size(), 1);
    EXPECT_TRUE(messages().empty());

    // A later single click opens it again.
    QTest::mouseClick(kf.OLE1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(desktop->opened.size(), 2);
}

TEST_F(DocumentWindowReview, EscapeOnTheDocumentItselfClosesTheWindow)
{
    bindFirstDocument();
    keralaforms& kf = document();
    shell::state().CurrentStateCode = 14;
    kf.OLE1->setFocus();
    QTest::keyClick(kf.OLE1, Qt::Key_Escape);
    EXPECT_FALSE(kf.isVisible());
    EXPECT_TRUE(ui::formLoaded<keralaforms>());
    EXPECT_TRUE(ui::form<frmkerala>().isVisible());
}
