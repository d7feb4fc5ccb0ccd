// Tree view, image list, toolbar, status bar, timer and banner as the windows use them.
#include "../UiTestUtil.h"
#include "platform/ui/Banner.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Keys.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TreeView.h"

#include <QAction>
#include <QFile>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMovie>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "WaitFor.h"

using namespace ui;
using uitest::errorNumber;

namespace {

QIcon solid(Qt::GlobalColor color)
{
    QPixmap p(16, 16);
    p.fill(color);
    return QIcon(p);
}

// A window with a tree shaped like the state tree: a root, a "States" child, states under it.
struct TreeFixture {
    QWidget window;
    ImageList images{"ImageList1", &window};
    TreeView* tree = new TreeView("Tvw", &window);

    TreeFixture()
    {
        images.Add(solid(Qt::red), "plain");
        images.Add(solid(Qt::blue), "chosen");
        tree->setImageList(&images);
        tree->Nodes().Add({}, tvwLast, "One", "Lumora on VAT laws", 1);
        tree->Nodes().Add("One", tvwChild, "Two", "States", 1, 2);
        tree->Nodes().Add("Two", tvwChild, "And", "Andhra Pradesh", 1, 2);
        tree->Nodes().Add("Two", tvwChild, "Ker", "Kerala", 1, 2);
        tree->Nodes().Add("One", tvwChild, "Centr", "Central Sales Tax", 1, 2);
        tree->Nodes(1)->setExpanded(true);
        tree->Nodes(2)->setExpanded(true);
        window.resize(400, 400);
        tree->resize(400, 400);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QPoint centreOf(const QString& key)
    {
        return tree->visualItemRect(tree->Nodes(key)->item()).center();
    }
};

} // namespace

TEST(TreeViewControl, NodesKeepKeysTextsParentsAndOrder)
{
    TreeFixture f;
    NodeCollection& nodes = f.tree->Nodes();
    EXPECT_EQ(nodes.Count(), 5);
    EXPECT_EQ(f.tree->Nodes(4)->Key(), "Ker");
    EXPECT_EQ(f.tree->Nodes("Ker")->Text(), "Kerala");
    EXPECT_EQ(f.tree->Nodes("Ker")->Index(), 4);
    EXPECT_EQ(f.tree->Nodes("Ker")->Parent()->Key(), "Two");
    EXPECT_EQ(f.tree->Nodes("One")->Parent(), nullptr);
    EXPECT_EQ(f.tree->Nodes("Two")->Children(), 2);
    EXPECT_EQ(f.tree->Nodes("Two")->Child()->Key(), "And");
    EXPECT_EQ(f.tree->topLevelItemCount(), 1);

    // Siblings placed relative to a node.
    nodes.Add("Ker", tvwPrevious, "Goa", "Goa");
    nodes.Add("Ker", tvwNext, "Tam", "TamilNadu");
    nodes.Add("Ker", tvwFirst, "Ass", "Assam");
    QStringList order;
    for (int i = 0; i < f.tree->Nodes("Two")->item()->childCount(); ++i)
        order << f.tree->Nodes("Two")->item()->child(i)->text(0);
    EXPECT_EQ(order, (QStringList{"Assam", "Andhra Pradesh", "Goa", "Kerala", "TamilNadu"}));
}

TEST(TreeViewControl, BadKeysAndIndexesRaise)
{
    TreeFixture f;
    EXPECT_EQ(errorNumber([&] { f.tree->Nodes().Add("One", tvwChild, "Ker", "again"); }), kErrKeyNotUnique);
    EXPECT_EQ(errorNumber([&] { f.tree->Nodes().Add("Nowhere", tvwChild, "New", "x"); }), kErrElementNotFound);
    EXPECT_EQ(errorNumber([&] { f.tree->Nodes("Nope"); }), kErrElementNotFound);
    EXPECT_EQ(errorNumber([&] { f.tree->Nodes(0); }), 35600);
    EXPECT_EQ(errorNumber([&] { f.tree->Nodes(6); }), 35600);
    EXPECT_EQ(f.tree->Nodes().Count(), 5);   // nothing half-added
    // Nodes without keys are allowed, any number of them.
    f.tree->Nodes().Add("One", tvwChild, {}, "a");
    f.tree->Nodes().Add("One", tvwChild, {}, "b");
    EXPECT_EQ(f.tree->Nodes().Count(), 7);
}

TEST(TreeViewControl, SelectedNodeShowsItsSelectedImage)
{
    TreeFixture f;
    const qint64 plain = f.images.Item(1).cacheKey();
    const qint64 chosen = f.images.Item(2).cacheKey();
    Node* ker = f.tree->Nodes("Ker");
    Node* root = f.tree->Nodes("One");
    EXPECT_EQ(ker->item()->icon(0).cacheKey(), plain);
    ker->setSelected(true);
    EXPECT_TRUE(ker->Selected());
    EXPECT_EQ(f.tree->SelectedItem(), ker);
    EXPECT_EQ(ker->item()->icon(0).cacheKey(), chosen);
    // The root has no selected image: it keeps its own.
    root->setSelected(true);
    EXPECT_EQ(root->item()->icon(0).cacheKey(), plain);
    EXPECT_EQ(ker->item()->icon(0).cacheKey(), plain);
}

TEST(TreeViewControl, ClicksRaiseNodeClickClickAndDblClick)
{
    TreeFixture f;
    QStringList events;
    QObject::connect(f.tree, &TreeView::NodeClick, [&](Node* n) { events << "NodeClick:" + n->Key(); });
    QObject::connect(f.tree, &TreeView::Click, [&] { events << "Click:" + f.tree->SelectedItem()->Key(); });
    QObject::connect(f.tree, &TreeView::DblClick, [&] { events << "DblClick:" + f.tree->SelectedItem()->Key(); });
    int downButton = 0, downX = -1;
    QObject::connect(f.tree, &TreeView::MouseDown, [&](int button, int, int x, int) {
        downButton = button;
        downX = x;
    });
    const QPoint at = f.centreOf("Ker");
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(events, (QStringList{"NodeClick:Ker", "Click:Ker"}));
    EXPECT_EQ(downButton, vbLeftButton);
    EXPECT_EQ(downX, at.x() * 15);
    events.clear();
    QTest::mouseDClick(f.tree->viewport(), Qt::LeftButton, {}, f.centreOf("Centr"));
    EXPECT_TRUE(events.contains("DblClick:Centr"));
}

TEST(TreeViewControl, KeysReachTheHandlersAndCanBeTaken)
{
    TreeFixture f;
    f.tree->Nodes("And")->setSelected(true);
    f.tree->setFocus();
    int enterDowns = 0, enterPresses = 0;
    bool takeDown = false;
    QObject::connect(f.tree, &TreeView::KeyDown, [&](int& keyCode, int) {
        if (keyCode == vbKeyReturn)
            ++enterDowns;
        if (takeDown && keyCode == vbKeyDown)
            keyCode = 0;
    });
    QObject::connect(f.tree, &TreeView::KeyPress, [&](int& keyAscii) {
        if (keyAscii == vbKeyReturn)
            ++enterPresses;
    });
    QTest::keyClick(f.tree, Qt::Key_Return);
    EXPECT_EQ(enterDowns, 1);
    EXPECT_EQ(enterPresses, 1);
    QTest::keyClick(f.tree, Qt::Key_Enter);   // the keypad's Enter is the same key
    EXPECT_EQ(enterDowns, 2);
    // A key the handler takes does not move the selection; one it leaves does.
    takeDown = true;
    QTest::keyClick(f.tree, Qt::Key_Down);
    EXPECT_EQ(f.tree->SelectedItem()->Key(), "And");
    takeDown = false;
    QTest::keyClick(f.tree, Qt::Key_Down);
    EXPECT_EQ(f.tree->SelectedItem()->Key(), "Ker");
}

TEST(ToolbarControl, ButtonsByKeyRaiseButtonClick)
{
    QWidget window;
    auto* bar = new Toolbar("Toolbar2", &window);
    bar->addButton("stat", "States")->setToolTipText("double click on statename to get details");
    Button* ack = bar->addButton("ack", "Acknowledgement", tbrDropdown);
    ack->addButtonMenu("CP", "Cash Payment");
    ack->addButtonMenu("BP", "Bank Payment");
    bar->addButton("EXI", "Exit");
    window.show();

    EXPECT_EQ(bar->Buttons(1)->Key(), "stat");
    EXPECT_EQ(bar->Buttons("ack")->ButtonMenus(2)->Text(), "Bank Payment");
    EXPECT_EQ(bar->Buttons("ack")->ButtonMenus("CP")->Index(), 1);
    EXPECT_EQ(errorNumber([&] { bar->addButton("EXI", "again"); }), 35602);
    EXPECT_EQ(errorNumber([&] { bar->Buttons("nope"); }), 35601);
    EXPECT_EQ(errorNumber([&] { bar->Buttons(4); }), 35600);

    QStringList clicked, menus;
    QObject::connect(bar, &Toolbar::ButtonClick, [&](Button* b) { clicked << b->Key(); });
    QObject::connect(bar, &Toolbar::ButtonMenuClick, [&](ButtonMenu* m) { menus << m->Parent()->Key() + "/" + m->Key(); });
    QTest::mouseClick(bar->Buttons("EXI")->widget(), Qt::LeftButton);
    auto* statButton = window.findChild<QToolButton*>("stat");
    ASSERT_NE(statButton, nullptr);
    QTest::mouseClick(statButton, Qt::LeftButton);
    bar->press(bar->Buttons("ack"));
    EXPECT_EQ(clicked, (QStringList{"EXI", "stat", "ack"}));
    // A choice from the drop-down menu is a menu click, not a button click.
    bar->Buttons("ack")->ButtonMenus("BP")->action()->trigger();
    EXPECT_EQ(menus, (QStringList{"ack/BP"}));
    EXPECT_EQ(clicked.size(), 3);
    EXPECT_EQ(bar->Buttons("ack")->widget()->popupMode(), QToolButton::MenuButtonPopup);
}

TEST(ToolbarControl, ImagesComeFromTheImageList)
{
    ImageList list("ImageList2");
    list.Add(solid(Qt::red));
    Toolbar bar("Toolbar2");
    Button* withImage = bar.addButton("help", "Help", tbrDefault, 1);
    Button* without = bar.addButton("not", "Notepad");
    bar.setImageList(&list);
    EXPECT_EQ(withImage->widget()->icon().cacheKey(), list.Item(1).cacheKey());
    EXPECT_EQ(withImage->widget()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(without->widget()->toolButtonStyle(), Qt::ToolButtonTextOnly);
    // An index outside the list, or a key it lacks, is no image.
    EXPECT_TRUE(list.Item(0).isNull());
    EXPECT_TRUE(list.Item(2).isNull());
    EXPECT_TRUE(list.Item("b").isNull());
}

TEST(StatusBarControl, PanelsHoldTexts)
{
    StatusBar bar("StatusBar1");
    ASSERT_EQ(bar.PanelCount(), 1);
    Panel* first = bar.Panels(1);
    for (int i = 2; i <= 20; ++i)
        bar.addPanel(QString::number(i));
    first->setText("still the first panel");   // earlier panels stay valid as panels are added
    EXPECT_EQ(bar.Panels(1)->label()->text(), "still the first panel");
    EXPECT_EQ(errorNumber([&] { bar.Panels(21); }), 35600);
}

TEST(TimerControl, TicksOnlyWhileEnabledWithAnInterval)
{
    QObject owner;
    Timer t("Timer1", &owner, 10, true);
    int ticks = 0;
    QObject::connect(&t, &Timer::Tick, [&] { ++ticks; });
    EXPECT_EVENTUALLY(ticks >= 2);
    t.setEnabled(false);
    EXPECT_FALSE(t.isRunning());
    const int stopped = ticks;
    QTest::qWait(40);
    EXPECT_EQ(ticks, stopped);

    Timer idle("Timer2", &owner, 100, false);
    EXPECT_FALSE(idle.isRunning());
    idle.setEnabled(true);
    EXPECT_TRUE(idle.isRunning());
    idle.setInterval(0);
    EXPECT_FALSE(idle.isRunning());
    EXPECT_TRUE(idle.Enabled());
}

TEST(BannerControl, PlaysWhatQtCanDecodeAndOtherwiseShowsNothing)
{
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("test.swf", "FWS\x0a\x10 not an animation Qt knows");   // a movie Qt cannot decode
    // A two-frame 1x1 animated GIF.
    const unsigned char gif[] = {
        'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff,
        0x21, 0xff, 0x0b, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
        0x21, 0xf9, 4, 0, 10, 0, 0, 0, 0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,
        0x21, 0xf9, 4, 0, 10, 0, 0, 0, 0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4c, 1, 0,
        0x3b};
    write("banner.gif", QByteArray(reinterpret_cast<const char*>(gif), sizeof gif));

    QWidget window;
    auto* banner = new Banner("ShockwaveFlash1", &window);
    banner->resize(200, 50);
    window.show();
    banner->setMovieFile(QDir::toNativeSeparators(dir.path()).replace('/', '\\') + "\\test.swf");
    EXPECT_FALSE(banner->isPlaying());
    EXPECT_EQ(banner->movie(), nullptr);
    EXPECT_TRUE(banner->Movie().endsWith("\\test.swf"));
    banner->setMovieFile(dir.filePath("missing.gif"));
    EXPECT_FALSE(banner->isPlaying());
    // The program writes paths with '\'.
    banner->setMovieFile(QString(dir.path()).replace('/', '\\') + "\\banner.gif");
    EXPECT_TRUE(banner->isPlaying());
    ASSERT_NE(banner->movie(), nullptr);
    EXPECT_EQ(banner->movie()->frameCount(), 2);
    banner->setMovieFile(dir.filePath("test.swf"));
    EXPECT_FALSE(banner->isPlaying());
    EXPECT_EQ(banner->movie(), nullptr);
}
