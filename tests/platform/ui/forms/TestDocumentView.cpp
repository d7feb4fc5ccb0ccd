// The document view bound to a remote-data binding on a small law database made here, the
// temporary copy a click opens, and the rich-text box's loading. (The document window's and
// the help window's tests drive the opening through the desktop and the printing.)
#include "../UiTestUtil.h"
#include "platform/ui/OleView.h"
#include "platform/ui/RemoteData.h"
#include "platform/ui/RichTextBox.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace ui;
using uitest::errorNumber;

namespace {

const QByteArray kActDoc = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\b Section 6\\b0\\par Levy of tax.\\par}";
const QByteArray kRulesDoc = "{\\rtf1\\ansi\\pard Rule 10 \\endash  Returns.\\par}";
const QByteArray kWordDoc("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0binary", 16);

// A law database file like the program's first one: Kerala(name, type, fname BLOB).
class LawFile {
public:
    LawFile()
    {
        const QByteArray sql = "CREATE TABLE Kerala (name TEXT COLLATE NOCASE, type TEXT COLLATE NOCASE, fname BLOB);"
                               "INSERT INTO Kerala VALUES ('s6', 'act', X'" + kActDoc.toHex() + "'),"
                               " ('r10', 'rule', X'" + kRulesDoc.toHex() + "'), ('old', 'form', X'" +
                               kWordDoc.toHex() + "'), ('nodoc', 'act', NULL);";
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(dir_.filePath("0909214SD01.mdb").toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    // As the program builds it: the folder, a backslash, the file name.
    QString connectString() const
    {
        return "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir_.path() + "\\0909214SD01.mdb;Uid=admin;Pwd=x;";
    }
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
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

// ---- rich-text box ----------------------------------------------------------------------

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
