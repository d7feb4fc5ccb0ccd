// The library window's list panel: filled by the Act tree's "Sectionwise" and the Rules
// tree's "FullText" and "Index" (no built node carries them, so each test adds the node a
// later tree would have), narrowed by words, jumped in by typing, bound by a click for the
// category of the last toolbar key, Go and Back, the hints and the panel's layout.
#include "LibraryFixture.h"

#include "platform/ui/ListBox.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/TreeView.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <sqlite3.h>

// Readable texts in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

const QString kListHint =
    "Select the required item from list box by search or manual and press Go button to display the data";
const QString kWordsHint = "Type the required words with space on priority in the search box and click this "
                           "Button.To restore the datas, delete the search words and again press the button.";

struct Pair {
    const char* key;
    const char* go;
    const char* back;
    const char* tree;   // nullptr: Back hides both frames
    bool focus;
};
const Pair kPairs[] = {
    {"Act", "cmdactgo", "cmdactback", "Tvw", true},       {"rul", "cmdrulego", "cmdruleback", "tvw2", true},
    {"circu", "Command1", "Command4", "tvwc", false},     {"not", "notGo", "notBack", "tvwn", true},
    {"jud", "judgo", "judback", "tvw3", false},           {"rec", "rngo", "rnback", "tvwr", false},
    {"Ali", "aligo", "aliback", "tvwali", true},          {"forms", "formsgo", "formsback", nullptr, false},
    {"sch", "cmdshgo", "cmdshback", nullptr, false},
};

class ListPanelTest : public LibraryFixture {
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        lib = &ui::form<frmkerala>();
        lib->Show();
        QApplication::setActiveWindow(lib);
    }

    QGroupBox* frame(const char* name) { return lib->findChild<QGroupBox*>(name); }
    template <class T>
    T* panel(const char* name) { return frame("Frame2")->findChild<T*>(name); }
    ui::ListBox* list() { return panel<ui::ListBox>("List1"); }
    ui::TextBox* words() { return panel<ui::TextBox>("Text3"); }
    ui::TextBox* chosen() { return panel<ui::TextBox>("Text1"); }
    ui::CommandButton* button(const char* name) { return panel<ui::CommandButton>(name); }
    ui::TreeView* tree(const char* name) { return lib->findChild<ui::TreeView*>(name); }
    QString status() { return lib->findChild<ui::StatusBar*>("StatusBar1")->Panels(1)->Text(); }

    void press(const QString& key)
    {
        QTest::mouseClick(lib->findChild<ui::Toolbar*>("Toolbar2")->Buttons(key)->widget(), Qt::LeftButton);
    }
    // Selects the node with this key, adding it under the root first when the tree lacks it.
    void selectNode(const char* treeName, const char* key)
    {
        ui::TreeView* t = tree(treeName);
        if (!t->Nodes().find(key))
            t->Nodes().Add(t->Nodes(1)->Key(), ui::tvwChild, key, key, 1, 2);
        t->setSelectedItem(t->Nodes(key));
    }
    // The way a user reaches the step: the category's button, then a double click on the node.
    void activate(const char* category, const char* treeName, const char* key)
    {
        press(category);
        selectNode(treeName, key);
        ui::TreeView* t = tree(treeName);
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(t->Nodes(key)->item()).center());
    }
    void clickEntry(const QString& label)
    {
        const auto found = list()->findItems(label, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << label.toStdString();
        list()->scrollToItem(found[0]);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(found[0]).center());
    }
    QStringList entries()
    {
        QStringList out;
        for (int i = 0; i < list()->ListCount(); ++i)
            out << list()->List(i) + "=" + QString::number(list()->ItemData(i));
        return out;
    }
    // Rows of the first law database read straight from its file, one text per row, columns
    // joined by "|".
    QStringList rows(const char* sql)
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(folder.file("0909214SD01.mdb").toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        QStringList out;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) {
                QStringList cols;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    cols << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
                out << cols.join('|');
            }
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }
    QByteArray documentNamed(const QString& name, const char* table = "Kerala")
    {
        sqlite3* db = nullptr;
        sqlite3_open_v2(folder.file("0909214SD01.mdb").toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        QByteArray out;
        sqlite3_prepare_v2(db, QString("select fname from %1 where name = ?").arg(table).toUtf8().constData(), -1,
                           &st, nullptr);
        const QByteArray n = name.toUtf8();
        sqlite3_bind_text(st, 1, n.constData(), int(n.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW)
            out = QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }
    // The sample cells of the Act sections as "label=ID": in ID order, or, for a word search,
    // those the filter matches in the order of their cells (case ignored).
    QStringList actSections(const QRegularExpression& filter = QRegularExpression())
    {
        QList<std::pair<QString, QString>> cells;
        for (const QString& r : rows("SELECT ID, ActSection FROM Keralafields WHERE ActSection IS NOT NULL ORDER BY ID")) {
            const QString id = r.section('|', 0, 0), cell = r.section('|', 1);
            if (filter.pattern().isEmpty() || filter.match(cell).hasMatch())
                cells.append({cell, id});
        }
        if (!filter.pattern().isEmpty())
            std::sort(cells.begin(), cells.end(),
                      [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
        QStringList out;
        for (const auto& [cell, id] : cells)
            out << cell.left(cell.lastIndexOf('-')) + "=" + id;
        return out;
    }
    // Runs `check` while the modal document window is on view, then closes it by its Back picture.
    void whileDocumentModal(ui::CommandButton* go, const std::function<void()>& check)
    {
        bool ran = false;
        QTimer::singleShot(0, lib, [&] {
            ran = true;
            check();
            QTest::mouseClick(document().Picture4, Qt::LeftButton);
        });
        QTest::mouseClick(go, Qt::LeftButton);
        EXPECT_TRUE(ran) << "Go showed no modal window";
    }
    // Brings a category's Go and Back pair to the front, as that category's own list would.
    void showPair(const Pair& p)
    {
        for (const char* n : {p.go, p.back}) {
            button(n)->setVisible(true);
            button(n)->raise();
        }
    }

    frmkerala* lib = nullptr;
};

} // namespace

TEST_F(ListPanelTest, LoadHidesThePanelAndBuildsEveryControlInPlace)
{
    QGroupBox* f2 = frame("Frame2");
    EXPECT_FALSE(f2->isVisibleTo(lib));
    EXPECT_EQ(f2->title(), "Select the topic you want and click on Go");
    EXPECT_EQ(ui::widthTwips(f2), 12735);
    EXPECT_GE(ui::heightTwips(f2), 5535);   // grown to the maximised window
    EXPECT_EQ(panel<QLabel>("Label1")->text(), "Search");
    EXPECT_EQ(twipsRect(panel<QLabel>("Label1")), QRect(30, 750, 1245, 210));
    EXPECT_EQ(twipsRect(words()), QRect(1320, 720, 10095, 285));
    EXPECT_EQ(button("Cmdwordsearch")->Caption(), "Words Search");
    EXPECT_EQ(twipsRect(button("Cmdwordsearch")), QRect(9960, 720, 1455, 285));
    EXPECT_EQ(twipsRect(chosen()), QRect(1320, 1020, 10095, 600));
    EXPECT_EQ(twipsRect(list()).topLeft(), QPoint(1320, 1650));
    for (const Pair& p : kPairs) {
        SCOPED_TRACE(p.key);
        EXPECT_EQ(button(p.go)->Caption(), "Go");
        EXPECT_EQ(twipsRect(button(p.go)), QRect(11640, 270, 735, 400));
        EXPECT_EQ(button(p.back)->Caption(), "Back");
        EXPECT_EQ(twipsRect(button(p.back)).size(), QSize(735, 420));
    }
    // every tree switch hides it
    activate("Act", "Tvw", "Sectionwise");
    ASSERT_TRUE(f2->isVisible());
    press("circu");
    EXPECT_FALSE(f2->isVisible());
    EXPECT_TRUE(frame("Frame1")->isVisible());
}

TEST_F(ListPanelTest, SectionwiseFillsTheActSectionsAndPutsThePanelInFront)
{
    activate("Act", "Tvw", "Sectionwise");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(frame("Frame2")->isVisible());
    EXPECT_FALSE(frame("Frame1")->isVisible());

    const QStringList expected = actSections();
    ASSERT_EQ(expected.size(), 21);
    EXPECT_EQ(expected.first(), "Section 1=1");
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(list()->ListIndex(), -1);

    EXPECT_TRUE(button("cmdactgo")->isVisible());
    EXPECT_TRUE(button("cmdactback")->isVisible());
    const QObjectList order = frame("Frame2")->children();
    for (const Pair& p : kPairs)
        if (QLatin1String(p.key) != "Act") {
            EXPECT_GT(order.indexOf(button("cmdactgo")), order.indexOf(button(p.go)));
            EXPECT_GT(order.indexOf(button("cmdactback")), order.indexOf(button(p.back)));
        }
    EXPECT_TRUE(button("Cmdwordsearch")->isVisible());
    EXPECT_TRUE(chosen()->isVisible());
    EXPECT_EQ(chosen()->Text(), "");
    EXPECT_EVENTUALLY(words()->hasFocus());
    EXPECT_EQ(status(), kListHint);
    const auto& law = lawdb::state();
    EXPECT_EQ(QStringList({law.WordSearchTable, law.WordSearchColumn, law.WordSearchOrder}),
              QStringList({"Keralafields", "ActSection", "ActSection"}));

    // an index cell with more than one "-": listed up to the last one
    lawdb::state().LawConnection1->Execute(
        "INSERT INTO Keralafields (ID, ActSection) VALUES (700, '12A-Act 2003-s.5'), (701, '-lead')");
    lib->Tvw_DblClick();
    EXPECT_EQ(entries().mid(21), (QStringList{"12A-Act 2003=700", "-lead=701"}));
}

TEST_F(ListPanelTest, WordsNarrowTheListAndTypingSelectsAndBindsTheEntry)
{
    activate("Act", "Tvw", "Sectionwise");
    QTest::keyClicks(words(), "section 1");
    EXPECT_EQ(list()->ListIndex(), 0);
    EXPECT_EQ(chosen()->Text(), "Section 1");
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='Section 1' and type='Act'");
    EXPECT_EQ(document().MSRDC1->Connect(), lawdb::state().LawConnectString1);
    EXPECT_EQ(document().OLE1->data(), documentNamed("Section 1"));
    EXPECT_FALSE(documentShown());   // a click binds; only Go shows

    // Enter runs the word search: the sections whose cell has "section", a blank and a "1"
    QTest::keyClick(words(), Qt::Key_Return);
    const QStringList expected =
        actSections(QRegularExpression("section.* .*1", QRegularExpression::CaseInsensitiveOption));
    ASSERT_GE(expected.size(), 2);
    EXPECT_EQ(entries(), expected);
    EXPECT_TRUE(words()->hasFocus());

    // typing on: the first entry beginning with the text, then none
    QTest::keyClicks(words(), "2");
    EXPECT_EQ(list()->Text(), "Section 12");
    EXPECT_EQ(document().OLE1->data(), documentNamed("Section 12"));
    QTest::keyClicks(words(), "x");
    EXPECT_EQ(list()->ListIndex(), -1);
    EXPECT_EQ(chosen()->Text(), "");
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='' and type='Act'");
    EXPECT_FALSE(document().OLE1->hasDocument());

    // deleting the words and searching again restores the whole list
    words()->setText("");
    QTest::mouseClick(button("Cmdwordsearch"), Qt::LeftButton);
    EXPECT_EQ(entries(), actSections(QRegularExpression(".")));
    EXPECT_TRUE(messages().empty());
}

TEST_F(ListPanelTest, GoShowsTheDocumentWindowModallyOverTheLibrary)
{
    activate("Act", "Tvw", "Sectionwise");
    clickEntry("Section 6");
    EXPECT_EQ(chosen()->Text(), "Section 6");
    whileDocumentModal(button("cmdactgo"), [&] {
        EXPECT_TRUE(document().isVisible());
        EXPECT_EQ(document().windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(document().parentWidget(), lib);
        EXPECT_EQ(document().OLE1->data(), documentNamed("Section 6"));
        EXPECT_TRUE(document().OLE1->hasDocument());
    });
    EXPECT_FALSE(document().isVisible());
    EXPECT_TRUE(lib->isVisible());
    EXPECT_TRUE(frame("Frame2")->isVisible());   // the list stays as it was
    EXPECT_EQ(list()->Text(), "Section 6");
    EXPECT_TRUE(messages().empty());
}

TEST_F(ListPanelTest, BackReturnsToTheTreeOfTheCategory)
{
    for (const Pair& p : kPairs) {
        SCOPED_TRACE(p.key);
        activate("Act", "Tvw", "Sectionwise");
        list()->setFocus();   // the focus away from the trees
        showPair(p);
        QTest::mouseClick(button(p.back), Qt::LeftButton);
        EXPECT_FALSE(frame("Frame2")->isVisible());
        if (!p.tree) {
            EXPECT_FALSE(frame("Frame1")->isVisible());
            continue;
        }
        EXPECT_TRUE(frame("Frame1")->isVisible());
        EXPECT_TRUE(tree(p.tree)->isVisible());
        EXPECT_EQ(frame("Frame1")->children().last(), tree(p.tree));
        if (p.focus) {
            EXPECT_EVENTUALLY(tree(p.tree)->hasFocus());
        }
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(ListPanelTest, RulesTreeFillsOneEntryListsWithoutWordSearch)
{
    activate("rul", "tvw2", "FullText");
    EXPECT_EQ(entries(), QStringList{"Full Text of Rules=0"});
    const auto& law = lawdb::state();
    EXPECT_EQ(law.WordSearchTable + law.WordSearchColumn + law.WordSearchOrder, "");
    EXPECT_TRUE(button("cmdrulego")->isVisible());
    EXPECT_TRUE(button("cmdruleback")->isVisible());
    EXPECT_FALSE(button("Cmdwordsearch")->isVisibleTo(frame("Frame2")));
    EXPECT_TRUE(words()->isVisible());
    EXPECT_NE(status(), kListHint);

    // Enter in the word box searches nothing here
    QTest::keyClicks(words(), "rules");
    QTest::keyClick(words(), Qt::Key_Return);
    EXPECT_EQ(entries(), QStringList{"Full Text of Rules=0"});

    words()->setText("");
    clickEntry("Full Text of Rules");
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='Full Text of Rules' and type='Rules'");
    EXPECT_TRUE(document().OLE1->hasDocument());
    EXPECT_EQ(document().OLE1->data(), documentNamed("Full Text of Rules"));

    QTest::mouseClick(button("cmdruleback"), Qt::LeftButton);
    EXPECT_EQ(frame("Frame1")->children().last(), tree("tvw2"));

    activate("rul", "tvw2", "Index");
    EXPECT_EQ(entries(), QStringList{"Index to Rules=0"});
    QTest::keyClicks(words(), "INDEX");
    EXPECT_EQ(list()->ListIndex(), 0);
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='Index to Rules' and type='Rules'");
    EXPECT_EQ(document().OLE1->data(), documentNamed("Index to Rules"));
    whileDocumentModal(button("cmdrulego"), [&] { EXPECT_EQ(document().OLE1->data(), documentNamed("Index to Rules")); });
    EXPECT_TRUE(messages().empty());
}

TEST_F(ListPanelTest, ClickBindsTheDocumentOfTheLastToolbarKeysCategoryQuotesIncluded)
{
    lawdb::state().LawConnection1->Execute(
        "INSERT INTO Keralafields (ID, ActSection) VALUES (801, 'Dealer''s guide-Dealer''s duty'), "
        "(802, 'Cite 2006-Judgment 2006 KTR 250'), (803, 'Cite 2007-Judgment 2007 KTR 302')");
    lawdb::state().LawConnection1->Execute("INSERT INTO Kerala (name, type, fname) VALUES "
                                           "('Dealer''s guide', 'Act', X'7B5C72746631206775696465207D'), "
                                           "('Dealer''s duty', 'Circular', X'7B5C7274663120647574797D')");
    const QString cs1 = lawdb::state().LawConnectString1, cs2 = lawdb::state().LawConnectString2;
    struct Case {
        const char* key;
        const char* entry;
        QString sql;
        QString connect;
    };
    const QString guide = "select fname from KERALA where name='Dealer''s guide'";
    const QString duty = "select fname from Kerala where name='Dealer''s duty'";
    const Case cases[] = {
        {"Act", "Dealer's guide", guide + " and type='Act'", cs1},
        {"rul", "Dealer's guide", guide + " and type='Rules'", cs1},
        {"forms", "Dealer's guide", guide, cs1},
        {"Ali", "Dealer's guide", guide, cs1},
        {"sch", "Dealer's guide", guide, cs1},
        {"circu", "Dealer's guide", duty, cs1},
        {"not", "Dealer's guide", duty, cs1},
        {"jud", "Cite 2006", "select fname from Globalvat where name='Judgment 2006 KTR 250'", cs1},
        {"rec", "Cite 2006", "select fname from Globalvat where name='Judgment 2006 KTR 250'", cs1},
        {"jud", "Cite 2007", "select fname from Globalvatse where name='Judgment 2007 KTR 302'", cs2},
        {"rec", "Cite 2007", "select fname from Globalvatse where name='Judgment 2007 KTR 302'", cs2},
    };
    selectNode("Tvw", "Sectionwise");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.entry);
        press(c.key);
        lib->Tvw_DblClick();   // the panel filled while the category is this key's
        ASSERT_TRUE(frame("Frame2")->isVisible());
        clickEntry(c.entry);
        EXPECT_EQ(document().MSRDC1->SQL(), c.sql);
        EXPECT_EQ(document().MSRDC1->Connect(), c.connect);
        const bool found = QString(c.entry) != "Dealer's guide" || QLatin1String(c.key) != "rul";
        EXPECT_EQ(document().OLE1->hasDocument(), found);
        EXPECT_EQ(document().OLE1->DataField(), "fname");
        EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();
    }

    // a key of no list category binds nothing
    const QString before = document().MSRDC1->SQL();
    press("ca");
    lib->Tvw_DblClick();
    clickEntry("Section 6");
    EXPECT_EQ(document().MSRDC1->SQL(), before);
    EXPECT_EQ(chosen()->Text(), "Section 6");
}

TEST_F(ListPanelTest, ClickFailuresAreReportedOnceAtTheEnd)
{
    // a notifications key on a one-entry list: there is no index column to read the entry from
    press("not");
    selectNode("tvw2", "FullText");
    lib->tvw2_DblClick();
    clickEntry("Full Text of Rules");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("Exc on L1C : ")) << messages()[0].prompt.toStdString();
    EXPECT_TRUE(messages()[0].prompt.contains(" | No: "));
    EXPECT_TRUE(messages()[0].prompt.contains(" | Src: "));
    EXPECT_EQ(messages()[0].title, "_IN_DEBUG");
    EXPECT_EQ(messages()[0].icon(), ui::vbExclamation);
    // the binding still ran, for an empty name
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from Kerala where name=''");
}

TEST_F(ListPanelTest, FormsGoOpensNothingForTheForm10Entry)
{
    lawdb::state().LawConnection1->Execute(
        "INSERT INTO Keralafields (ID, ActSection) VALUES (901, 'FORM10-AUTOCOMPUTATION-Form 10')");
    press("forms");
    lib->screen("ObjFormGlobalSections")->Hide();
    selectNode("Tvw", "Sectionwise");
    lib->Tvw_DblClick();
    showPair(kPairs[7]);
    clickEntry("FORM10-AUTOCOMPUTATION");
    EXPECT_EQ(chosen()->Text(), "FORM10-AUTOCOMPUTATION");
    bool shown = false;   // a window that did come up is closed again, so the test goes on
    QTimer::singleShot(0, lib, [&] {
        shown = documentShown();
        if (shown)
            document().Hide();
    });
    QTest::mouseClick(button("formsgo"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_FALSE(documentShown());

    clickEntry("Section 6");
    whileDocumentModal(button("formsgo"), [&] {
        EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='Section 6'");
        EXPECT_EQ(document().OLE1->data(), documentNamed("Section 6"));
    });
}

TEST_F(ListPanelTest, TheWordBoxPutsItsHintsInTheStatusBar)
{
    activate("Act", "Tvw", "Sectionwise");
    EXPECT_EQ(status(), kListHint);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EVENTUALLY(list()->hasFocus());
    EXPECT_EQ(status(), " ");
    QTest::mouseClick(words(), Qt::LeftButton);
    EXPECT_EVENTUALLY(words()->hasFocus());
    EXPECT_EQ(status(), kWordsHint);

    // blanks alone are cleared when the box takes the focus (typing puts it back there)
    list()->setFocus();
    EXPECT_EQ(status(), " ");
    words()->setText("   ");
    EXPECT_EVENTUALLY(words()->hasFocus());
    EXPECT_EQ(status(), kWordsHint);
    EXPECT_EQ(words()->Text(), "");

    // with no word-search column (a one-entry list) the box gives no words hint
    activate("rul", "tvw2", "Index");
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(status(), " ");
    QTest::mouseClick(words(), Qt::LeftButton);
    EXPECT_EQ(status(), " ");
}

TEST_F(ListPanelTest, ResizeFitsThePanelToATallWindowAndKeepsItOnAShortOne)
{
    activate("Act", "Tvw", "Sectionwise");
    lib->setWindowState(ui::vbNormal);
    QGroupBox* f2 = frame("Frame2");
    auto layout = [&](int w, int h) {
        lib->resize(w, h);
        lib->Form_Resize();
    };
    auto backTops = [&] {
        QSet<int> tops;
        for (const Pair& p : kPairs)
            tops << ui::topTwips(button(p.back));
        return tops;
    };

    layout(1000, 1000);
    ASSERT_EQ(lib->ScaleHeight(), 15000);
    EXPECT_EQ(ui::leftTwips(f2), 1132);   // (15000 - 12735) / 2 = 1132.5: the even neighbour
    EXPECT_EQ(ui::topTwips(f2), 1740);
    const int tall = 15000 - 1740 - (1740 - 750);
    EXPECT_EQ(ui::heightTwips(f2), tall);
    EXPECT_EQ(ui::heightTwips(list()), tall - (1020 + 600 + 720));
    EXPECT_EQ(backTops(), QSet<int>{tall - 1020 + 210});
    EXPECT_LE(ui::topTwips(f2) + ui::heightTwips(f2), lib->ScaleHeight());

    layout(700, 500);   // too short and too narrow: the previous height stays, the panel at left 0
    EXPECT_EQ(ui::leftTwips(f2), 0);
    EXPECT_EQ(ui::heightTwips(f2), tall);
    EXPECT_EQ(ui::heightTwips(list()), tall - 2340);
    EXPECT_EQ(backTops(), QSet<int>{tall - 810});

    layout(1000, 600);   // just above the design height grows it back down to fit
    EXPECT_EQ(ui::heightTwips(f2), 9000 - 2730);
    EXPECT_EQ(ui::heightTwips(list()), 9000 - 2730 - 2340);
}
