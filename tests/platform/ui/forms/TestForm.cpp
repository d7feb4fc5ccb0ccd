// The form base: one instance per form, load once, activation, unload, modal shows, owners, twips.
#include "platform/ui/forms/Form.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/forms/Twips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBackingStore>
#include <QCursor>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <stdexcept>

#include "WaitFor.h"

using namespace ui;

namespace {

class ProbeForm : public Form {
public:
    explicit ProbeForm(const QString& name = QStringLiteral("frmProbe")) : Form(name) {}
    int loads = 0, activates = 0, deactivates = 0, resizes = 0, unloads = 0, lastUnloadMode = -1;
    std::vector<QPoint> mouseDowns;   // twips
    bool hideOnFrameClose = false;
    bool refuseUnload = false;

protected:
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activates; }
    void Form_Deactivate() override { ++deactivates; }
    void Form_MouseDown(int button, int shift, int x, int y) override
    {
        if (button == vbLeftButton && shift == 0)
            mouseDowns.emplace_back(x, y);
    }
    void Form_Resize() override { ++resizes; }
    void Form_QueryUnload(int& cancel, int mode) override
    {
        lastUnloadMode = mode;
        if (hideOnFrameClose && mode == vbFormControlMenu) {
            Hide();
            cancel = 1;
        }
    }
    void Form_Unload(int& cancel) override
    {
        ++unloads;
        if (refuseUnload)
            cancel = 1;
    }
};

class OtherForm : public ProbeForm {
public:
    OtherForm() : ProbeForm(QStringLiteral("frmOther")) {}
};

class FormTest : public ::testing::Test {
protected:
    void TearDown() override { FormRegistry::unloadAll(); }
};

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

TEST_F(FormTest, AccessorLoadsOnceAndUnloadOrACloseByTheFrameCanBeRefusedOrDestroysTheForm)
{
    QPointer<ProbeForm> first = &form<ProbeForm>();
    EXPECT_EQ(&form<ProbeForm>(), first.data());
    EXPECT_EQ(first->loads, 1);
    EXPECT_FALSE(first->Visible());     // loading does not show
    first->Show();
    first->Hide();
    first->Show();
    EXPECT_EQ(first->loads, 1);         // shown again with its state, not loaded again
    first->refuseUnload = true;
    EXPECT_FALSE(first->Unload());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(&form<ProbeForm>(), first.data());
    first->refuseUnload = false;
    EXPECT_TRUE(first->Unload());
    EXPECT_EQ(first->lastUnloadMode, vbFormCode);
    EXPECT_EQ(first->unloads, 2);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(formLoaded<ProbeForm>());
    flushDeletes();
    EXPECT_TRUE(first.isNull());
    ProbeForm& second = form<ProbeForm>();   // created afresh
    EXPECT_EQ(second.loads, 1);
    EXPECT_EQ(second.unloads, 0);
    form<OtherForm>();
    FormRegistry::unloadAll();          // forgets every form
    EXPECT_FALSE(formLoaded<ProbeForm>());
    EXPECT_FALSE(formLoaded<OtherForm>());
    EXPECT_EQ(Form::activeForm(), nullptr);

    // A close by the frame can be turned into a hide; without the cancel, it unloads.
    ProbeForm& f = form<ProbeForm>();
    f.hideOnFrameClose = true;
    f.Show();
    EXPECT_FALSE(f.close());            // cancelled
    EXPECT_EQ(f.lastUnloadMode, vbFormControlMenu);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(f.unloads, 0);
    flushDeletes();
    ASSERT_TRUE(formLoaded<ProbeForm>());
    EXPECT_EQ(&form<ProbeForm>(), &f);
    QPointer<ProbeForm> gone = &f;
    f.hideOnFrameClose = false;
    f.Show();
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(formLoaded<ProbeForm>());
    flushDeletes();
    EXPECT_TRUE(gone.isNull());
}

TEST_F(FormTest, ActivateFiresWhenActivationMovesBetweenOurForms)
{
    ProbeForm& p = form<ProbeForm>();
    OtherForm& o = form<OtherForm>();
    p.Show();
    EXPECT_EQ(p.activates, 1);
    EXPECT_EQ(Form::activeForm(), &p);
    QTest::qWait(10);                   // the user acts in a later turn of the event loop
    o.Show();
    EXPECT_EQ(o.activates, 1);
    EXPECT_EQ(p.deactivates, 1);
    QTest::qWait(10);
    EXPECT_EQ(p.activates, 1);          // queued system events of the shows change nothing
    EXPECT_EQ(o.activates, 1);
    // The user switches back to the first window.
    p.activateWindow();
    EXPECT_EVENTUALLY(p.activates == 2);
    EXPECT_EQ(Form::activeForm(), &p);
    EXPECT_EQ(o.activates, 1);
    // Hidden and shown again: a new activation.
    p.Hide();
    EXPECT_EQ(Form::activeForm(), nullptr);
    p.Show();
    EXPECT_EQ(p.activates, 3);
    QTest::qWait(10);
    EXPECT_EQ(p.activates, 3);
    // Showing a form that is already the active one is no new activation; nor is the return
    // from a message box it showed.
    p.Show();
    EXPECT_EQ(p.activates, 3);
    auto* box = new QMessageBox(QMessageBox::Information, "t", "m", QMessageBox::Ok, &p);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    box->activateWindow();
    EXPECT_EVENTUALLY(box->isActiveWindow());
    box->close();
    p.activateWindow();
    EXPECT_EVENTUALLY(p.isActiveWindow());
    QTest::qWait(20);
    EXPECT_EQ(p.activates, 3);
}

TEST_F(FormTest, ModalShowReturnsWhenTheFormHidesOrUnloads)
{
    ProbeForm& p = form<ProbeForm>();
    bool wasModal = false;
    bool wasVisible = false;
    QTimer::singleShot(0, &p, [&] {
        wasModal = p.isModal();
        wasVisible = p.isVisible();
        p.Hide();
    });
    p.Show(vbModal);
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(wasVisible);
    EXPECT_FALSE(p.isVisible());
    EXPECT_FALSE(p.isModal());          // a later modeless show is not modal
    p.Show();
    EXPECT_FALSE(p.isModal());

    QPointer<ProbeForm> q = &p;
    QTimer::singleShot(0, q, [q] { q->Unload(); });
    q->Show(vbModal);
    EXPECT_FALSE(formLoaded<ProbeForm>());
    flushDeletes();
    EXPECT_TRUE(q.isNull());
}

TEST_F(FormTest, AnOwnedFormStaysAWindowAndGoesWithItsOwner)
{
    ProbeForm& owner = form<ProbeForm>();
    owner.Show();
    OtherForm& owned = form<OtherForm>();
    owned.Show(vbModeless, &owner);
    EXPECT_EQ(owned.parentWidget(), &owner);
    EXPECT_TRUE(owned.isWindow());
    EXPECT_TRUE(owned.isVisible());
    // The window system is told: the owned window is transient for its owner, also when a
    // later Show hands it another owner.
    ASSERT_NE(owned.windowHandle(), nullptr);
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());
    ProbeForm second(QStringLiteral("frmSecond"));
    second.Show();
    owned.Show(vbModeless, &second);
    EXPECT_EQ(owned.windowHandle()->transientParent(), second.windowHandle());
    EXPECT_TRUE(owned.isVisible());
    owned.Show(vbModeless, &owner);
    EXPECT_EQ(owned.windowHandle()->transientParent(), owner.windowHandle());
    owner.Unload();
    flushDeletes();
    EXPECT_FALSE(formLoaded<OtherForm>());
    EXPECT_EQ(form<OtherForm>().parentWidget(), nullptr);
}

// A hidden form holds no buffer of its window's size; shown again, it is painted whole.
TEST_F(FormTest, AHiddenFormGivesBackItsPaintBufferAndIsPaintedWholeWhenShownAgain)
{
    ProbeForm& f = form<ProbeForm>();
    f.setPalette(QPalette(QColor(0x12, 0x34, 0x5A)));
    f.setAutoFillBackground(true);
    f.resize(640, 480);
    auto fullBuffer = [&] { return f.backingStore() && f.backingStore()->size() == f.size(); };
    auto paintedAt = [&](QPoint p) { return f.screen()->grabWindow(f.winId()).toImage().pixelColor(p); };
    f.hideOnFrameClose = true;
    const std::pair<const char*, std::function<void()>> roads[] = {
        {"hidden", [&] { f.Hide(); }}, {"closed by its frame", [&] { f.close(); }}};
    for (const auto& [road, close] : roads) {
        f.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        EXPECT_EVENTUALLY(fullBuffer());
        close();
        QTest::qWait(20);
        ASSERT_FALSE(f.isVisible()) << road;
        EXPECT_LE(f.backingStore()->size().width() * f.backingStore()->size().height(), 1) << road;
        f.Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f)) << road;
        EXPECT_EVENTUALLY(fullBuffer()) << road;
        EXPECT_EVENTUALLY(paintedAt(QPoint(600, 440)) == QColor(0x12, 0x34, 0x5A)) << road;
    }
    // A modal show of the shown form hides and shows it in one go: it keeps a whole buffer
    // all the while it is on screen.
    struct Watch : QObject {
        std::function<bool()> shortOnScreen;
        bool seen = false;
        bool eventFilter(QObject*, QEvent*) override
        {
            seen = seen || shortOnScreen();
            return false;
        }
    } watch;
    watch.shortOnScreen = [&] { return f.isVisible() && !fullBuffer(); };
    f.windowHandle()->installEventFilter(&watch);
    QTimer::singleShot(100, &f, [&] { f.Hide(); });
    f.Show(vbModal);
    EXPECT_FALSE(watch.seen);
}

// Twips that are no whole number of pixels read back as set; only a press on the form's own
// surface is its MouseDown.
TEST_F(FormTest, GeometryInTwipsAndMouseDownOnTheFormsOwnSurface)
{
    ProbeForm& f = form<ProbeForm>();
    f.Move(300, 450, 5370, 3700);
    f.Show();
    EXPECT_EQ(f.Width(), 5370);         // 358 px: kept as written
    EXPECT_EQ(f.Top(), 450);
    f.resize(400, 300);                 // the user's size reads in twips of the new size
    EXPECT_EQ(f.ScaleWidth(), 6000);
    EXPECT_EQ(f.ScaleHeight(), 4500);
    EXPECT_GT(f.resizes, 0);
    auto* label = new QLabel(QStringLiteral("a label"), &f);   // lets presses go by
    moveTwips(label, 150, 150, 1500, 300);
    EXPECT_EQ(widthTwips(label), 1500);
    label->move(10, label->y());
    EXPECT_EQ(leftTwips(label), 150);
    auto* frame = new QGroupBox(QStringLiteral("a frame"), &f);
    frame->setGeometry(10, 50, 200, 100);
    label->show();
    frame->show();
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(frame, Qt::LeftButton, {}, QPoint(20, 50));
    EXPECT_TRUE(f.mouseDowns.empty());
    QTest::mousePress(&f, Qt::LeftButton, {}, QPoint(300, 200));
    ASSERT_EQ(f.mouseDowns.size(), 1u);
    EXPECT_EQ(f.mouseDowns[0], QPoint(toTwips(300), toTwips(200)));
}

TEST(MsgBoxService, ResponderSeesEveryMessageAndAnswersWithAButtonTheBoxHas)
{
    {
        ScopedMsgBoxResponder responder(vbYes);
        EXPECT_EQ(MsgBox("ok only", vbInformation), vbOK);
        EXPECT_EQ(MsgBox("Are  you Sure?", vbYesNo + vbQuestion, "Exit Windows"), vbYes);
        EXPECT_EQ(MsgBox("retry", vbRetryCancel), vbRetry);
        const auto& m = responder.messages();
        ASSERT_EQ(m.size(), 3u);
        EXPECT_EQ(m[0].title, "Lumora1");   // no title given
        EXPECT_EQ(m[1].prompt, "Are  you Sure?");
        EXPECT_EQ(m[1].title, "Exit Windows");
        EXPECT_EQ(m[1].icon(), vbQuestion);
        EXPECT_EQ(m[1].buttonSet(), vbYesNo);
    }
    EXPECT_TRUE(shownMessages().empty());   // records end with the responder
}

// The real dialog, answered No as soon as it is up: wide enough for its whole bold title plus
// a title bar's icon and three buttons.
TEST(MsgBoxService, TheRealDialogHasTheTitleIconAndButtonsAndRoomForItsWholeTitle)
{
    const QString title = QStringLiteral("Delete Interstate Purchase Records ");
    QString shownTitle;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0, width = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible())
                continue;
            shownTitle = box->windowTitle();
            icon = box->icon();
            buttons = static_cast<int>(box->buttons().size());
            width = box->width();
            box->button(QMessageBox::No)->click();
        }
    });
    poll.start(10);
    EXPECT_EQ(MsgBox(" Are you Sure ", vbYesNo + vbQuestion, title), vbNo);
    EXPECT_EQ(shownTitle, title);
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, 2);
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    EXPECT_GE(width, metrics.horizontalAdvance(title) + 4 * metrics.height());
}

TEST(MousePointerSetting, HourglassIsOneSettingRestoredOnEveryPath)
{
    setMousePointer(vbHourglass);
    setMousePointer(vbHourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    setMousePointer(vbDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);   // set twice, one restore suffices
    try {
        HourglassGuard guard;
        EXPECT_EQ(mousePointer(), vbHourglass);
        throw std::runtime_error("fails half-way");
    } catch (const std::exception&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(mousePointer(), vbDefault);
}
