// The document view bound to a remote-data binding on a small law database made here, and the
// temporary copy a click opens. (The document and help windows' tests drive the opening through
// the desktop, the printing and the rich-text box.)
#include "../../db/DbFixture.h"
#include "platform/ui/OleView.h"
#include "platform/ui/RemoteData.h"

#include <QFile>

using namespace ui;
using uitest::errorNumber;

namespace {

const QByteArray kActDoc = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\b Section 6\\b0\\par Levy of tax.\\par}";
const QByteArray kRulesDoc = "{\\rtf1\\ansi\\pard Rule 10 \\endash  Returns.\\par}";
const QByteArray kWordDoc("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0binary", 16);

// The document window's pair, the binding and the view bound to its "fname", over a law
// database like the program's first one.
struct DocumentBinding : ::testing::Test {
    QTemporaryDir dir;
    QWidget window;
    RemoteData* data = new RemoteData("MSRDC1", &window);
    OleView* view = new OleView("OLE1", &window);

    void SetUp() override
    {
        dbtest::rawExec(dir.filePath("0909214SD01.mdb"),
                        "CREATE TABLE Kerala (name TEXT COLLATE NOCASE, type TEXT COLLATE NOCASE, fname BLOB);"
                        "INSERT INTO Kerala VALUES ('s6', 'act', X'" + kActDoc.toHex() + "'), ('r10', 'rule', X'" +
                            kRulesDoc.toHex() + "'), ('old', 'form', X'" + kWordDoc.toHex() + "'), ('nodoc', 'act', NULL);");
        // As the program builds it: the folder, a backslash, the file name.
        data->setConnect("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\0909214SD01.mdb;Uid=admin;Pwd=x;");
        select("name='s6'");
        view->setDataSource(data);
        view->setDataField("fname");
    }
    void select(const QString& where)
    {
        data->setSQL("select fname from Kerala where " + where);
        data->Refresh();
    }
};

TEST_F(DocumentBinding, ShowsTheFirstRowsDocumentFollowsRebindingAndShowsNothingWithoutOne)
{
    EXPECT_TRUE(data->hasRow());
    EXPECT_EQ(view->toPlainText(), "Section 6\nLevy of tax.");
    EXPECT_TRUE(view->isReadOnly());
    // Binding again while shown: the view follows the new row without new wiring.
    select("name='r10'");
    EXPECT_EQ(view->toPlainText(), QString::fromUtf8("Rule 10 \u2013 Returns."));
    EXPECT_EQ(view->data(), kRulesDoc);
    select("type='act' order by name desc");   // several rows: the first one
    EXPECT_EQ(view->data(), kActDoc);

    // No row, a Null document or a failure: nothing shown.
    select("name='nodoc'");
    EXPECT_TRUE(data->hasRow());
    EXPECT_TRUE(data->value("FNAME").isNull());
    EXPECT_FALSE(view->hasDocument());
    EXPECT_TRUE(view->toPlainText().isEmpty());
    select("name='none'");
    EXPECT_FALSE(data->hasRow());
    EXPECT_FALSE(view->hasDocument());
    select("name='s6'");
    data->setSQL("select fname from NoSuchTable");   // failures raise and leave no current row
    EXPECT_NE(errorNumber([&] { data->Refresh(); }), 0);
    EXPECT_FALSE(data->hasRow());
    EXPECT_FALSE(view->hasDocument());
    data->setConnect("Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\missing.mdb");
    data->setSQL("select fname from Kerala");
    EXPECT_NE(errorNumber([&] { data->Refresh(); }), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.mdb")));   // never created by opening
}

TEST_F(DocumentBinding, TemporaryCopyKeepsTheBytesAndAFittingSuffix)
{
    const QString rtfCopy = view->writeTemporaryCopy();
    EXPECT_TRUE(rtfCopy.endsWith(".rtf"));
    QFile f(rtfCopy);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), kActDoc);
    // A second copy never overwrites the first (it may still be open elsewhere).
    EXPECT_NE(view->writeTemporaryCopy(), rtfCopy);
    select("name='old'");
    EXPECT_TRUE(view->writeTemporaryCopy().endsWith(".doc"));
    EXPECT_FALSE(view->toPlainText().isEmpty());   // shown as a hint, opened in full elsewhere
    select("name='nodoc'");
    EXPECT_NE(errorNumber([&] { view->writeTemporaryCopy(); }), 0);
}

} // namespace
