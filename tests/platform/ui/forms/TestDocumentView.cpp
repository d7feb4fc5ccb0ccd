// The document view bound to a remote-data binding on a small law database made here, the
// temporary copy a click opens, and the rich-text box's loading and printing.
#include "FormsTestUtil.h"
#include "platform/sys/Desktop.h"
#include "platform/ui/OleView.h"
#include "platform/ui/RemoteData.h"
#include "platform/ui/RichTextBox.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace ui;
using formtest::errorNumber;

namespace {

const QByteArray kActDoc = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\b Section 6\\b0\\par Levy of tax.\\par}";
const QByteArray kRulesDoc = "{\\rtf1\\ansi\\pard Rule 10 \\endash  Returns.\\par}";
const QByteArray kWordDoc("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0binary", 16);

// A law database file like the program's first one: Kerala(name, type, fname BLOB).
class LawFile {
public:
    LawFile()
    {
        path_ = dir_.filePath("0909214SD01.mdb");
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path_.toUtf8().constData(), &db), SQLITE_OK);
        exec(db, "CREATE TABLE Kerala (name TEXT COLLATE NOCASE, type TEXT COLLATE NOCASE, fname BLOB)");
        insert(db, "s6", "act", kActDoc);
        insert(db, "r10", "rule", kRulesDoc);
        insert(db, "old", "form", kWordDoc);
        exec(db, "INSERT INTO Kerala (name, type, fname) VALUES ('nodoc', 'act', NULL)");
        sqlite3_close(db);
    }

    // As the program builds it: the folder, a backslash, the file name.
    QString connectString() const
    {
        return "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir_.path() + "\\0909214SD01.mdb;Uid=admin;Pwd=x;";
    }
    QString folder() const { return dir_.path(); }

private:
    static void exec(sqlite3* db, const char* sql)
    {
        char* err = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
    }
    static void insert(sqlite3* db, const char* name, const char* type, const QByteArray& doc)
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Kerala (name, type, fname) VALUES (?, ?, ?)", -1, &st, nullptr);
        sqlite3_bind_text(st, 1, name, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, type, -1, SQLITE_TRANSIENT);
        sqlite3_bind_blob(st, 3, doc.constData(), static_cast<int>(doc.size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(st), SQLITE_DONE);
        sqlite3_finalize(st);
    }
    QTemporaryDir dir_;
    QString path_;
};

// The document window's pair: the binding and the view bound to its "fname".
struct BoundView {
    QWidget window;
    RemoteData* data = new RemoteData("MSRDC1", &window);
    OleView* view = new OleView("OLE1", &window);

    void bind(const QString& connect, const QString& sql)
    {
        data->setConnect(connect);
        data->setSQL(sql);
        data->Refresh();
        view->setDataSource(data);
        view->setDataField("fname");
    }
};

class DesktopDouble {
public:
    DesktopDouble()
    {
        auto d = std::make_unique<sys::RecordingDesktop>();
        desktop = d.get();
        sys::setDesktop(std::move(d));
    }
    ~DesktopDouble() { sys::setDesktop(nullptr); }
    sys::RecordingDesktop* desktop;
};

} // namespace

TEST(DocumentBinding, ShowsTheFirstRowsDocumentAndFollowsRebinding)
{
    LawFile law;
    BoundView v;
    v.bind(law.connectString(), "select fname from Kerala where name='s6'");
    EXPECT_TRUE(v.data->hasRow());
    EXPECT_TRUE(v.view->hasDocument());
    EXPECT_EQ(v.view->toPlainText(), "Section 6\nLevy of tax.");
    EXPECT_TRUE(v.view->isReadOnly());
    // Binding again while shown: the view follows the new row without new wiring.
    v.data->setSQL("select fname from Kerala where name='r10'");
    v.data->Refresh();
    EXPECT_EQ(v.view->toPlainText(), QString::fromUtf8("Rule 10 \u2013 Returns."));
    EXPECT_EQ(v.view->data(), kRulesDoc);
    // Several rows: the first one.
    v.data->setSQL("select fname from Kerala where type='act' order by name desc");
    v.data->Refresh();
    EXPECT_EQ(v.view->data(), kActDoc);
}

TEST(DocumentBinding, NoRowNullOrAFailureShowsNothing)
{
    LawFile law;
    BoundView v;
    v.bind(law.connectString(), "select fname from Kerala where name='s6'");
    v.data->setSQL("select fname from Kerala where name='nodoc'");
    v.data->Refresh();
    EXPECT_TRUE(v.data->hasRow());
    EXPECT_TRUE(v.data->value("FNAME").isNull());
    EXPECT_FALSE(v.view->hasDocument());
    EXPECT_TRUE(v.view->toPlainText().isEmpty());
    v.data->setSQL("select fname from Kerala where name='none'");
    v.data->Refresh();
    EXPECT_FALSE(v.data->hasRow());
    EXPECT_FALSE(v.view->hasDocument());
    // Failures raise and leave no current row.
    v.data->setSQL("select fname from Kerala where name='s6'");
    v.data->Refresh();
    v.data->setSQL("select fname from NoSuchTable");
    EXPECT_NE(errorNumber([&] { v.data->Refresh(); }), 0);
    EXPECT_FALSE(v.data->hasRow());
    EXPECT_FALSE(v.view->hasDocument());
    v.data->setConnect("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + law.folder() + "\\missing.mdb");
    v.data->setSQL("select fname from Kerala");
    EXPECT_NE(errorNumber([&] { v.data->Refresh(); }), 0);
    EXPECT_FALSE(QFile::exists(law.folder() + "/missing.mdb"));   // never created by opening
}

TEST(DocumentBinding, TemporaryCopyKeepsTheBytesAndAFittingSuffix)
{
    LawFile law;
    BoundView v;
    v.bind(law.connectString(), "select fname from Kerala where name='s6'");
    const QString rtfCopy = v.view->writeTemporaryCopy();
    EXPECT_TRUE(rtfCopy.endsWith(".rtf"));
    QFile f(rtfCopy);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kActDoc);
    // A second copy never overwrites the first (it may still be open elsewhere).
    EXPECT_NE(v.view->writeTemporaryCopy(), rtfCopy);

    v.data->setSQL("select fname from Kerala where name='old'");
    v.data->Refresh();
    EXPECT_TRUE(v.view->writeTemporaryCopy().endsWith(".doc"));
    EXPECT_TRUE(v.view->hasDocument());   // shown as a hint, opened in full elsewhere
    EXPECT_FALSE(v.view->toPlainText().isEmpty());

    v.data->setSQL("select fname from Kerala where name='nodoc'");
    v.data->Refresh();
    EXPECT_NE(errorNumber([&] { v.view->writeTemporaryCopy(); }), 0);
}

TEST(DocumentBinding, ClickAndOpenVerbGoThroughTheDesktop)
{
    LawFile law;
    DesktopDouble desk;
    BoundView v;
    v.bind(law.connectString(), "select fname from Kerala where name='s6'");
    v.window.resize(300, 300);
    v.view->resize(300, 300);
    v.window.show();
    QSignalSpy clicks(v.view, &OleView::Click);
    QTest::mouseClick(v.view->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(clicks.count(), 1);

    v.view->DoVerb(vbOLEOpen);
    ASSERT_EQ(desk.desktop->opened.size(), 1);
    QFile opened(desk.desktop->opened.first());
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(opened.readAll(), kActDoc);

    desk.desktop->openResult = false;
    EXPECT_NE(errorNumber([&] { v.view->DoVerb(vbOLEOpen); }), 0);
}

// ---- rich-text box ----------------------------------------------------------------------

namespace {
class PrinterDouble {
public:
    PrinterDouble()
    {
        auto p = std::make_unique<RecordingPrinter>();
        printer = p.get();
        setDocumentPrinter(std::move(p));
    }
    ~PrinterDouble() { setDocumentPrinter(nullptr); }
    RecordingPrinter* printer;
};
} // namespace

TEST(RichTextBoxControl, LoadsFilesAndKeepsContentWhenAFileIsMissing)
{
    QTemporaryDir dir;
    QFile help(dir.filePath("HELP VAT.rtf"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("{\\rtf1\\ansi\\pard\\qc\\b Help\\b0\\par\\pard Use the tree.\\par}");
    help.close();

    RichTextBox box("RichTextBox1");
    const QString path = QString(dir.path()).replace('/', '\\') + "\\HELP VAT.rtf";
    box.LoadFile(path);
    EXPECT_EQ(box.Text(), "Help\nUse the tree.");
    EXPECT_EQ(box.FileName(), path);
    EXPECT_TRUE(box.isReadOnly());

    EXPECT_EQ(errorNumber([&] { box.setFileName(dir.filePath("PRODUCTS.rtf")); }), 75);
    EXPECT_EQ(box.Text(), "Help\nUse the tree.");
    EXPECT_EQ(box.FileName(), path);
}

TEST(RichTextBoxControl, PrintsTheSelectionOrEverything)
{
    PrinterDouble p;
    RichTextBox box("RichTextBox1");
    QTemporaryDir dir;
    QFile doc(dir.filePath("ACK.rtf"));
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.write("{\\rtf1 First paragraph\\par Second paragraph\\par}");
    doc.close();
    box.LoadFile(dir.filePath("ACK.rtf"));

    EXPECT_TRUE(box.SelPrint());
    box.setSelection(6, 9);
    EXPECT_EQ(box.SelText(), "paragraph");
    EXPECT_TRUE(box.SelPrint());
    ASSERT_EQ(p.printer->printedTexts.size(), 2);
    EXPECT_EQ(p.printer->printedTexts[0], "First paragraph\nSecond paragraph");
    EXPECT_EQ(p.printer->printedTexts[1], "paragraph");
    EXPECT_EQ(p.printer->titles[0], "ACK.rtf");
    p.printer->result = false;
    EXPECT_FALSE(box.SelPrint());
}
