// The library window's list panel, filled by the Act tree's "Sectionwise" and the Rules tree's
// "FullText" and "Index" (nodes no built tree carries: each test adds them).
#include "LibraryFixture.h"

#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/StatusBar.h"

#include <QGroupBox>
#include <QLabel>
#include <QTimer>

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
        lib = &library();
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
    QString status() { return lib->findChild<ui::StatusBar*>("StatusBar1")->Panels(1)->Text(); }
    void activate(const char* category, const char* treeName, const char* key)
    {
        press(category);
        clickNode(treeName, key);
    }
    void clickEntry(const QString& label)
    {
        const auto found = list()->findItems(label, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << label.toStdString();
        list()->scrollToItem(found[0]);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(found[0]).center());
    }
    void clickAt(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5)); }
    QStringList entries()
    {
        QStringList out;
        for (int i = 0; i < list()->ListCount(); ++i)
            out << list()->List(i) + "=" + QString::number(list()->ItemData(i));
        return out;
    }
    // The Act section cells as "label=ID" read from the file: in ID order, or those a pattern matches.
    QStringList actSections(const QString& like = {})
    {
        QStringList out;
        for (const QByteArray& r : lawColumn("SELECT ActSection || '|' || ID FROM Keralafields WHERE ActSection IS NOT NULL "
                                             + (like.isEmpty() ? "ORDER BY ID" : "AND ActSection LIKE '" + like
                                                                                     + "' ORDER BY ActSection COLLATE NOCASE"))) {
            const QString cell = QString::fromUtf8(r).section('|', 0, -2);
            out << cell.left(cell.lastIndexOf('-')) + "=" + QString::fromUtf8(r).section('|', -1);
        }
        return out;
    }
    // Presses Go and runs `check` while the modal document window is up (false: none came up).
    bool whileDocumentModal(ui::CommandButton* go, const std::function<void()>& check)
    {
        bool shown = false;
        QTimer::singleShot(0, lib, [&] {
            if ((shown = documentShown())) {
                check();
                QTest::mouseClick(document().Picture4, Qt::LeftButton);
            }
        });
        QTest::mouseClick(go, Qt::LeftButton);
        QCoreApplication::processEvents();
        return shown;
    }
    // Brings a category's Go and Back pair to the front, as that category's own list would.
    void showPair(const Pair& p)
    {
        for (const char* n : {p.go, p.back})
            button(n)->show(), button(n)->raise();
    }

    frmkerala* lib = nullptr;
};

} // namespace

TEST_F(ListPanelTest, SectionwiseFillsTheActSectionsWordsNarrowThemAndTypingBindsAnEntry)
{
    EXPECT_FALSE(frame("Frame2")->isVisibleTo(lib));
    activate("Act", "Tvw", "Sectionwise");
    EXPECT_TRUE(frame("Frame2")->isVisible() && !frame("Frame1")->isVisible());
    EXPECT_EQ(entries(), actSections());
    EXPECT_EQ(list()->ListIndex(), -1);

    const QObjectList order = frame("Frame2")->children();   // the Act pair above every other pair
    for (const Pair& p : kPairs)
        if (QLatin1String(p.key) != "Act") {
            EXPECT_GT(order.indexOf(button("cmdactgo")), order.indexOf(button(p.go)));
            EXPECT_GT(order.indexOf(button("cmdactback")), order.indexOf(button(p.back)));
        }
    for (QWidget* shown : std::initializer_list<QWidget*>{button("cmdactgo"), button("cmdactback"), button("Cmdwordsearch"), chosen()})
        EXPECT_TRUE(shown->isVisible()) << shown->objectName().toStdString();
    EXPECT_EQ(chosen()->Text(), "");
    EXPECT_EVENTUALLY(words()->hasFocus());
    EXPECT_EQ(status(), kListHint);

    clickAt(list()->viewport());
    EXPECT_EVENTUALLY(list()->hasFocus());
    EXPECT_EQ(status(), " ");
    words()->setText("   ");   // blanks alone are cleared when the box takes the focus
    QTest::mouseClick(words(), Qt::LeftButton);
    EXPECT_EVENTUALLY(words()->hasFocus());
    EXPECT_EQ(status(), kWordsHint);
    EXPECT_EQ(words()->Text(), "");

    QTest::keyClicks(words(), "section 1");
    EXPECT_EQ(list()->ListIndex(), 0);
    EXPECT_EQ(chosen()->Text(), "Section 1");
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='Section 1' and type='Act'");
    EXPECT_EQ(document().OLE1->data(), documentNamed("Section 1"));
    EXPECT_FALSE(documentShown());   // a click binds; only Go shows

    // Enter runs the word search: the sections whose cell has "section", a blank and a "1"
    QTest::keyClick(words(), Qt::Key_Return);
    EXPECT_EQ(entries(), actSections("%section% %1%"));
    EXPECT_GE(entries().size(), 2);
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

    words()->setText("");   // deleting the words and searching again restores the whole list
    QTest::mouseClick(button("Cmdwordsearch"), Qt::LeftButton);
    EXPECT_EQ(entries(), actSections("%"));
    EXPECT_TRUE(messages().empty());

    press("circu");   // every tree switch hides the panel
    EXPECT_TRUE(frame("Frame1")->isVisible() && !frame("Frame2")->isVisible());
}

// Emptying the search box finds nothing: no entry stays selected and no document is bound.
TEST_F(ListPanelTest, ClearingTheSearchBoxClearsTheSelectionAndBindsNoDocument)
{
    activate("Act", "Tvw", "Sectionwise");
    QTest::keyClicks(words(), "section 6");
    ASSERT_EQ(chosen()->Text(), "Section 6");
    ASSERT_TRUE(document().OLE1->hasDocument());
    QTest::keyClick(words(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(words(), Qt::Key_Backspace);
    EXPECT_EQ(words()->Text(), "");
    EXPECT_EQ(list()->ListIndex(), -1);
    EXPECT_EQ(chosen()->Text(), "");
    EXPECT_FALSE(document().OLE1->hasDocument());
    EXPECT_FALSE(documentShown());
    EXPECT_TRUE(messages().empty());
}

TEST_F(ListPanelTest, GoShowsTheDocumentWindowModallyOverTheLibraryButNotForTheForm10Entry)
{
    activate("Act", "Tvw", "Sectionwise");
    clickEntry("Section 6");
    EXPECT_EQ(chosen()->Text(), "Section 6");
    EXPECT_TRUE(whileDocumentModal(button("cmdactgo"), [&] {
        EXPECT_EQ(document().windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(document().parentWidget(), lib);
        EXPECT_EQ(document().OLE1->data(), documentNamed("Section 6"));
        EXPECT_TRUE(document().OLE1->hasDocument());
    }));
    EXPECT_TRUE(frame("Frame2")->isVisible());   // the list stays as it was
    EXPECT_EQ(list()->Text(), "Section 6");

    // the forms Go passes over the Form 10 entry and shows any other
    lawdb::state().LawConnection1->Execute(
        "INSERT INTO Keralafields (ID, ActSection) VALUES (901, 'FORM10-AUTOCOMPUTATION-Form 10')");
    press("forms");
    lib->screen("ObjFormGlobalSections")->Hide();
    lib->Tvw_DblClick();
    showPair(kPairs[7]);
    clickEntry("FORM10-AUTOCOMPUTATION");
    EXPECT_EQ(chosen()->Text(), "FORM10-AUTOCOMPUTATION");
    EXPECT_FALSE(whileDocumentModal(button("formsgo"), [] {}));
    clickEntry("Section 6");
    EXPECT_TRUE(whileDocumentModal(button("formsgo"), [&] {
        EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='Section 6'");
        EXPECT_EQ(document().OLE1->data(), documentNamed("Section 6"));
    }));
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
        EXPECT_EQ(frame("Frame1")->isVisible(), p.tree != nullptr);
        if (p.tree) {
            EXPECT_EQ(frame("Frame1")->children().last(), tree(p.tree));
            EXPECT_TRUE(tree(p.tree)->isVisible());
        }
        if (p.focus) {
            EXPECT_EVENTUALLY(tree(p.tree)->hasFocus());
        }
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(ListPanelTest, RulesTreeFillsOneEntryListsWithoutWordSearch)
{
    for (const QString entry : {"Full Text of Rules", "Index to Rules"}) {
        activate("rul", "tvw2", entry.startsWith("Full") ? "FullText" : "Index");
        QApplication::setActiveWindow(lib);
        EXPECT_EQ(entries(), QStringList{entry + "=0"});
        EXPECT_FALSE(button("Cmdwordsearch")->isVisibleTo(frame("Frame2")));
        EXPECT_NE(status(), kListHint);
        QTest::mouseClick(words(), Qt::LeftButton);   // no words hint, nor a word search on Enter
        EXPECT_EVENTUALLY(words()->hasFocus());
        EXPECT_NE(status(), kWordsHint);
        QTest::keyClicks(words(), entry.left(5).toUpper());
        QTest::keyClick(words(), Qt::Key_Return);
        EXPECT_EQ(entries(), QStringList{entry + "=0"});
        EXPECT_EQ(list()->ListIndex(), 0);
        EXPECT_TRUE(whileDocumentModal(button("cmdrulego"), [&] {
            EXPECT_EQ(document().MSRDC1->SQL(), "select fname from KERALA where name='" + entry + "' and type='Rules'");
            EXPECT_EQ(document().OLE1->data(), documentNamed(entry));
        }));
        QTest::mouseClick(button("cmdruleback"), Qt::LeftButton);
        EXPECT_EQ(frame("Frame1")->children().last(), tree("tvw2"));
        words()->setText("");
    }
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
    const QString guide = "select fname from KERALA where name='Dealer''s guide'";
    const QString duty = "select fname from Kerala where name='Dealer''s duty'";
    const QString j2006 = "select fname from Globalvat where name='Judgment 2006 KTR 250'";
    const QString j2007 = "select fname from Globalvatse where name='Judgment 2007 KTR 302'";
    const std::tuple<const char*, const char*, QString, QString> cases[] = {
        {"Act", "Dealer's guide", guide + " and type='Act'", cs1}, {"rul", "Dealer's guide", guide + " and type='Rules'", cs1},
        {"forms", "Dealer's guide", guide, cs1},  {"Ali", "Dealer's guide", guide, cs1}, {"sch", "Dealer's guide", guide, cs1},
        {"circu", "Dealer's guide", duty, cs1},   {"not", "Dealer's guide", duty, cs1},
        {"jud", "Cite 2006", j2006, cs1}, {"rec", "Cite 2006", j2006, cs1},
        {"jud", "Cite 2007", j2007, cs2}, {"rec", "Cite 2007", j2007, cs2},
    };
    clickNode("Tvw", "Sectionwise", 0);
    for (const auto& [key, entry, sql, connect] : cases) {
        SCOPED_TRACE(std::string(key) + " " + entry);
        press(key);
        lib->Tvw_DblClick();   // the panel filled while the category is this key's
        clickEntry(entry);
        EXPECT_EQ(document().MSRDC1->SQL(), sql);
        EXPECT_EQ(document().MSRDC1->Connect(), connect);
        EXPECT_EQ(document().OLE1->hasDocument(), !sql.endsWith("'Rules'"));   // no such rules document
        EXPECT_TRUE(messages().empty()) << messages()[0].prompt.toStdString();
    }

    const QString before = document().MSRDC1->SQL();   // a key of no list category binds nothing
    press("ca");
    lib->Tvw_DblClick();
    clickEntry("Section 6");
    EXPECT_EQ(document().MSRDC1->SQL(), before);
    EXPECT_EQ(chosen()->Text(), "Section 6");

    // a notifications key on a one-entry list: no index cell, reported once, bound to an empty name
    press("not");
    clickNode("tvw2", "FullText", 0);
    lib->tvw2_DblClick();
    clickEntry("Full Text of Rules");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].prompt.startsWith("Exc on L1C : ")) << messages()[0].prompt.toStdString();
    EXPECT_EQ(messages()[0].title, "_IN_DEBUG");
    EXPECT_EQ(document().MSRDC1->SQL(), "select fname from Kerala where name=''");
}

// A tall window: the panel is centred and fills it; a short one keeps the last height.
TEST_F(ListPanelTest, ResizeFitsThePanelToATallWindowAndKeepsItOnAShortOne)
{
    activate("Act", "Tvw", "Sectionwise");
    lib->setWindowState(ui::vbNormal);
    QGroupBox* f2 = frame("Frame2");
    for (auto [size, fits] : {std::pair{QSize(1000, 1000), true}, {QSize(700, 500), false}, {QSize(1000, 600), true}}) {
        const int before = ui::heightTwips(f2);
        lib->resize(size);
        lib->Form_Resize();
        const int bottom = ui::topTwips(f2) + ui::heightTwips(f2);
        EXPECT_EQ(bottom <= lib->ScaleHeight(), fits) << size.height();
        if (fits) {
            EXPECT_NEAR(ui::leftTwips(f2), (lib->ScaleWidth() - ui::widthTwips(f2)) / 2, 1);
            EXPECT_LT(lib->ScaleHeight() - bottom, 1500) << size.height();
        } else {
            EXPECT_EQ(ui::heightTwips(f2), before);
        }
        EXPECT_LE(ui::topTwips(list()) + ui::heightTwips(list()), ui::heightTwips(f2));
        for (const Pair& p : kPairs)
            EXPECT_LE(ui::topTwips(button(p.back)) + ui::heightTwips(button(p.back)), ui::heightTwips(f2)) << p.back;
    }
}
