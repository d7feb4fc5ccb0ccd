// What the library tests share: their own program folder with the law databases connected,
// answered message boxes, a recording desktop, fresh shared state before and after, the
// library window driven by the mouse, and the law files read directly.
#pragma once

#include "TestProgramFolder.h"
#include "WaitFor.h"

#include "lawdb/LawDb.h"
#include "lawdb/MyMOD.h"
#include "library/ScreenCatalog.h"
#include "library/frmGlobalSections.h"
#include "library/frmkerala.h"
#include "library/keralaforms.h"
#include "platform/sys/Desktop.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/grids/DataGrid.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/documents/OleView.h"
#include "platform/ui/documents/RemoteData.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/ui/controls/Toolbar.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/forms/Twips.h"
#include "shell/ShellState.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sqlite3.h>

// Readable texts in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

// A widget's geometry in twips, to compare in one go.
inline QRect twipsRect(const QWidget* w)
{
    return {ui::leftTwips(w), ui::topTwips(w), ui::widthTwips(w), ui::heightTwips(w)};
}

// A click on the toolbar button with this key, as the mouse gives it.
inline void pressKey(ui::Toolbar* bar, const QString& key)
{
    ui::Button* b = bar->findButton(key);
    ASSERT_TRUE(b) << key.toStdString();
    QTest::mouseClick(b->widget(), Qt::LeftButton);
}

// Every node of a tree in order, as "parent>key" ("key" for a root).
inline QStringList treeOutline(ui::TreeView* t)
{
    QStringList out;
    for (int i = 1; i <= t->Nodes().Count(); ++i) {
        ui::Node* n = t->Nodes(i);
        out << (n->Parent() ? n->Parent()->Key() + ">" : QString()) + n->Key();
    }
    return out;
}

class LibraryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        lawdb::resetState();
        shell::resetState();
        auto d = std::make_unique<sys::RecordingDesktop>();
        desktop = d.get();
        sys::setDesktop(std::move(d));
        lawdb::procConnectLawDBs();
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sys::setDesktop(nullptr);
        lawdb::resetState();
        shell::resetState();
    }
    const std::vector<ui::MessageRecord>& messages() const { return answers.messages(); }
    keralaforms& document() { return ui::form<keralaforms>(); }
    bool documentShown() { return ui::formLoaded<keralaforms>() && document().isVisible(); }

    // The library window as a user drives it.
    frmkerala& library() { return ui::form<frmkerala>(); }
    ui::TreeView* tree(const char* name) { return library().findChild<ui::TreeView*>(name); }
    void press(const char* key) { pressKey(library().findChild<ui::Toolbar*>("Toolbar2"), key); }
    // Selects a tree's node and clicks it (twice by default; not at all for 0), adding it under
    // the root first where no built node carries the key.
    void clickNode(const char* treeName, const QString& key, int clicks = 2)
    {
        ui::TreeView* t = tree(treeName);
        if (!t->Nodes().find(key))
            t->Nodes().Add(t->Nodes(1)->Key(), ui::tvwChild, key, key, 1, 2);
        t->setSelectedItem(t->Nodes(key));
        t->scrollToItem(t->Nodes(key)->item());
        const QPoint at = t->visualItemRect(t->Nodes(key)->item()).center();
        if (clicks == 2)
            QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, at);
        else if (clicks == 1)
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, at);
    }

    // The events a window system delivers for a double click on a widget, the closing release
    // included (QTest's double click leaves out the first release).
    static void doubleClick(QWidget* target)
    {
        for (auto [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton}, {QEvent::MouseButtonRelease, Qt::NoButton},
                                     {QEvent::MouseButtonPress, Qt::LeftButton}, {QEvent::MouseButtonDblClick, Qt::LeftButton},
                                     {QEvent::MouseButtonRelease, Qt::NoButton}}) {
            QMouseEvent e(type, QPointF(20, 20), target->mapToGlobal(QPointF(20, 20)), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(target, &e);
        }
    }

    // The first column of every row a statement gives, read straight from a law database file.
    QList<QByteArray> lawColumn(const QString& sql, const char* file = "0909214SD01.mdb")
    {
        sqlite3* db = nullptr;
        sqlite3_stmt* st = nullptr;
        QList<QByteArray> out;
        sqlite3_open_v2(folder.file(file).toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW)
                out << QByteArray(static_cast<const char*>(sqlite3_column_blob(st, 0)), sqlite3_column_bytes(st, 0));
        EXPECT_TRUE(st) << sqlite3_errmsg(db);
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }
    // The stored document of a name in the Kerala table.
    QByteArray documentNamed(const QString& name) { return lawColumn("select fname from Kerala where name='" + name + "'").value(0); }

    TestProgramFolder folder;
    ui::ScopedMsgBoxResponder answers;
    sys::RecordingDesktop* desktop = nullptr;
};
