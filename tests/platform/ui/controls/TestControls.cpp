// Tree view, image list, standard pictures, toolbar, status bar, timer and banner as the
// windows use them.
#include "../UiTestUtil.h"
#include "platform/ui/controls/Banner.h"
#include "platform/ui/controls/ImageList.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/forms/StandardPictures.h"
#include "platform/ui/controls/StatusBar.h"
#include "platform/ui/controls/Timer.h"
#include "platform/ui/controls/Toolbar.h"
#include "platform/ui/controls/TreeView.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMovie>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <thread>

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

    QPoint centreOf(const QString& key) { return tree->visualItemRect(tree->Nodes(key)->item()).center(); }
};

} // namespace

TEST(TreeViewControl, NodesKeepKeysParentsAndOrderAndBadKeysRaise)
{
    TreeFixture f;
    NodeCollection& nodes = f.tree->Nodes();
    EXPECT_EQ(f.tree->Nodes(4)->Key(), "Ker");
    EXPECT_EQ(f.tree->Nodes("Ker")->Parent()->Key(), "Two");
    EXPECT_EQ(f.tree->Nodes("One")->Parent(), nullptr);
    // Siblings placed relative to a node.
    nodes.Add("Ker", tvwPrevious, "Goa", "Goa");
    nodes.Add("Ker", tvwNext, "Tam", "TamilNadu");
    nodes.Add("Ker", tvwFirst, "Ass", "Assam");
    QStringList order;
    for (int i = 0; i < f.tree->Nodes("Two")->item()->childCount(); ++i)
        order << f.tree->Nodes("Two")->item()->child(i)->text(0);
    EXPECT_EQ(order, (QStringList{"Assam", "Andhra Pradesh", "Goa", "Kerala", "TamilNadu"}));

    EXPECT_EQ(errorNumber([&] { nodes.Add("One", tvwChild, "Ker", "again"); }), kErrKeyNotUnique);
    EXPECT_EQ(errorNumber([&] { nodes.Add("Nowhere", tvwChild, "New", "x"); }), kErrElementNotFound);
    EXPECT_EQ(errorNumber([&] { f.tree->Nodes("Nope"); }), kErrElementNotFound);
    EXPECT_EQ(errorNumber([&] { f.tree->Nodes(9); }), 35600);
    EXPECT_EQ(nodes.Count(), 8);   // nothing half-added
    nodes.Add("One", tvwChild, {}, "a");   // nodes without keys, any number of them
    nodes.Add("One", tvwChild, {}, "b");
    EXPECT_EQ(nodes.Count(), 10);
}

TEST(TreeViewControl, ClicksRaiseNodeClickClickAndDblClickAndTheSelectedNodeShowsItsSelectedImage)
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
    const qint64 plain = f.images.Item(1).cacheKey(), chosen = f.images.Item(2).cacheKey();
    Node* ker = f.tree->Nodes("Ker");
    EXPECT_EQ(ker->item()->icon(0).cacheKey(), plain);
    const QPoint at = f.centreOf("Ker");
    QTest::mouseClick(f.tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(events, (QStringList{"NodeClick:Ker", "Click:Ker"}));
    EXPECT_EQ(downButton, vbLeftButton);
    EXPECT_EQ(downX, at.x() * 15);
    EXPECT_TRUE(ker->Selected());
    EXPECT_EQ(ker->item()->icon(0).cacheKey(), chosen);
    events.clear();
    QTest::mouseDClick(f.tree->viewport(), Qt::LeftButton, {}, f.centreOf("Centr"));
    EXPECT_TRUE(events.contains("DblClick:Centr"));
    EXPECT_EQ(ker->item()->icon(0).cacheKey(), plain);
    // The root has no selected image: it keeps its own.
    f.tree->Nodes("One")->setSelected(true);
    EXPECT_EQ(f.tree->Nodes("One")->item()->icon(0).cacheKey(), plain);
}

TEST(TreeViewControl, KeysReachTheHandlersAndCanBeTaken)
{
    TreeFixture f;
    f.tree->Nodes("And")->setSelected(true);
    f.tree->setFocus();
    QStringList keys;
    bool takeDown = false;
    QObject::connect(f.tree, &TreeView::KeyDown, [&](int& keyCode, int) {
        keys << QString("down %1").arg(keyCode);
        if (takeDown && keyCode == vbKeyDown)
            keyCode = 0;
    });
    QObject::connect(f.tree, &TreeView::KeyPress, [&](int& keyAscii) { keys << QString("press %1").arg(keyAscii); });
    QTest::keyClick(f.tree, Qt::Key_Return);
    QTest::keyClick(f.tree, Qt::Key_Enter);   // the keypad's Enter is the same key
    EXPECT_EQ(keys, (QStringList{"down 13", "press 13", "down 13", "press 13"}));
    // A key the handler takes does not move the selection; one it leaves does.
    takeDown = true;
    QTest::keyClick(f.tree, Qt::Key_Down);
    EXPECT_EQ(f.tree->SelectedItem()->Key(), "And");
    takeDown = false;
    QTest::keyClick(f.tree, Qt::Key_Down);
    EXPECT_EQ(f.tree->SelectedItem()->Key(), "Ker");
}

// The pictures are read from the toolkit's built-in images at the size asked for (the next
// larger, else the largest), the same whether decoded ahead on another thread or on demand.
TEST(StandardPictures, BuiltInImagesOfTheSizeAskedForTheSameWhenDecodedAheadOnAnotherThread)
{
    const std::pair<QStyle::StandardPixmap, int> used[] = {
        {QStyle::SP_DirClosedIcon, 16}, {QStyle::SP_DirOpenIcon, 16}, {QStyle::SP_DirHomeIcon, 32},
        {QStyle::SP_DialogHelpButton, 32}, {QStyle::SP_FileDialogDetailedView, 32}, {QStyle::SP_BrowserStop, 32}};
    const auto image = [](QStyle::StandardPixmap which, int pixels) {
        return standardPicture(which, pixels).pixmap(pixels, pixels).toImage();
    };
    std::vector<QImage> onDemand;
    for (const auto& [which, pixels] : used) {
        EXPECT_TRUE(builtInPicturePath(which, pixels).endsWith(QStringLiteral("-%1.png").arg(pixels))) << int(which);
        onDemand.push_back(image(which, pixels));
        EXPECT_EQ(std::max(onDemand.back().width(), onDemand.back().height()), pixels) << int(which);
    }
    EXPECT_TRUE(builtInPicturePath(QStyle::SP_FileIcon, 20).endsWith(QLatin1String("file-32.png")));
    EXPECT_TRUE(builtInPicturePath(QStyle::SP_FileIcon, 400).endsWith(QLatin1String("file-128.png")));

    std::thread ahead(prepareStandardPictures);
    std::vector<QImage> during;
    for (const auto& [which, pixels] : used)
        during.push_back(image(which, pixels));   // while the other thread decodes
    ahead.join();
    for (size_t i = 0; i < std::size(used); ++i) {
        EXPECT_EQ(during[i], onDemand[i]) << i;
        EXPECT_EQ(image(used[i].first, used[i].second), onDemand[i]) << i;
    }
}

TEST(ToolbarControl, ButtonsByKeyRaiseButtonClickWithImagesFromTheImageList)
{
    QWidget window;
    ImageList list("ImageList2");
    list.Add(solid(Qt::red));
    auto* bar = new Toolbar("Toolbar2", &window);
    bar->addButton("stat", "States", tbrDefault, 1);
    Button* ack = bar->addButton("ack", "Acknowledgement", tbrDropdown);
    ack->addButtonMenu("CP", "Cash Payment");
    ack->addButtonMenu("BP", "Bank Payment");
    bar->addButton("EXI", "Exit");
    bar->setImageList(&list);
    window.show();

    EXPECT_EQ(bar->Buttons("ack")->ButtonMenus(2)->Text(), "Bank Payment");
    EXPECT_EQ(bar->Buttons("ack")->ButtonMenus("CP")->Index(), 1);
    EXPECT_EQ(errorNumber([&] { bar->addButton("EXI", "again"); }), 35602);
    EXPECT_EQ(errorNumber([&] { bar->Buttons("nope"); }), 35601);
    EXPECT_EQ(errorNumber([&] { bar->Buttons(4); }), 35600);
    // A button with an image shows it above its text; one without shows its text only. An
    // index outside the list, or a key it lacks, is no image.
    EXPECT_EQ(bar->Buttons(1)->widget()->icon().cacheKey(), list.Item(1).cacheKey());
    EXPECT_EQ(bar->Buttons(1)->widget()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(bar->Buttons("EXI")->widget()->toolButtonStyle(), Qt::ToolButtonTextOnly);
    EXPECT_TRUE(list.Item(0).isNull() && list.Item(2).isNull() && list.Item("b").isNull());

    QStringList clicked, menus;
    QObject::connect(bar, &Toolbar::ButtonClick, [&](Button* b) { clicked << b->Key(); });
    QObject::connect(bar, &Toolbar::ButtonMenuClick, [&](ButtonMenu* m) { menus << m->Parent()->Key() + "/" + m->Key(); });
    QTest::mouseClick(bar->Buttons("EXI")->widget(), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QToolButton*>("stat"), Qt::LeftButton);
    bar->press(bar->Buttons("ack"));
    EXPECT_EQ(clicked, (QStringList{"EXI", "stat", "ack"}));
    // A choice from the drop-down menu is a menu click, not a button click.
    bar->Buttons("ack")->ButtonMenus("BP")->action()->trigger();
    EXPECT_EQ(menus, (QStringList{"ack/BP"}));
    EXPECT_EQ(clicked.size(), 3);
    EXPECT_EQ(bar->Buttons("ack")->widget()->popupMode(), QToolButton::MenuButtonPopup);
}

TEST(StatusBarControl, EarlierPanelsStayValidAsPanelsAreAdded)
{
    StatusBar bar("StatusBar1");
    ASSERT_EQ(bar.PanelCount(), 1);
    Panel* first = bar.Panels(1);
    for (int i = 2; i <= 20; ++i)
        bar.addPanel(QString::number(i));
    first->setText("still the first panel");
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
    const int stopped = ticks;
    QTest::qWait(40);
    EXPECT_EQ(ticks, stopped);
    t.setEnabled(true);
    EXPECT_TRUE(t.isRunning());
    t.setInterval(0);
    EXPECT_FALSE(t.isRunning());
    EXPECT_TRUE(t.Enabled());
}

// The program names the movie with '\' paths.
TEST(BannerControl, PlaysWhatQtCanDecodeAndOtherwiseShowsNothing)
{
    QTemporaryDir dir;
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("test.swf", "FWS\x0a\x10 not an animation Qt knows");
    // A two-frame 1x1 animated GIF.
    const unsigned char gif[] = {
        'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xff, 0xff, 0xff,
        0x21, 0xff, 0x0b, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
        0x21, 0xf9, 4, 0, 10, 0, 0, 0, 0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,
        0x21, 0xf9, 4, 0, 10, 0, 0, 0, 0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4c, 1, 0,
        0x3b};
    write("banner.gif", QByteArray(reinterpret_cast<const char*>(gif), sizeof gif));
    const QString folder = QString(dir.path()).replace('/', '\\');

    QWidget window;
    auto* banner = new Banner("ShockwaveFlash1", &window);
    window.show();
    banner->setMovieFile(folder + "\\banner.gif");
    EXPECT_TRUE(banner->isPlaying());
    ASSERT_NE(banner->movie(), nullptr);
    EXPECT_EQ(banner->movie()->frameCount(), 2);
    for (const char* none : {"\\test.swf", "\\missing.gif"}) {
        banner->setMovieFile(folder + none);
        EXPECT_FALSE(banner->isPlaying()) << none;
        EXPECT_EQ(banner->movie(), nullptr) << none;
    }
}
