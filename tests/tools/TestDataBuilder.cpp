// The program-folder builder: what it creates, what it replaces and what it must never touch.
#include "../platform/db/DbFixture.h"
#include "TestProgramFolder.h"

#include <databuild/DataBuilder.h>
#include <databuild/SampleDocument.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <map>

#include <sys/stat.h>

namespace {

using dbtest::rawColumn;
using dbtest::rawExec;

const QString kDataDir = QStringLiteral(LUMORA_DATA_DIR);

QString scalar(const QString& file, const QString& sql) { return rawColumn(file, sql).value(0, "<none>"); }

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& fi : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir() ? !copyTree(fi.absoluteFilePath(), target) : !QFile::copy(fi.absoluteFilePath(), target))
            return false;
    }
    return true;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST(DataBuilder, BuildsEveryFileAndARebuildKeepsTheUsersDatabasesAndReplacesTheRest)
{
    QTemporaryDir data, dir;
    ASSERT_TRUE(copyTree(kDataDir, data.path()));
    writeFile(data.path() + "/docs/HELP VAT.rtf", "{\\rtf1 help}");
    writeFile(data.path() + "/RptSales.rpt", "report");
    const QByteArray banner(1 << 16, 'b');   // 64 KiB
    writeFile(data.path() + "/test.swf", banner + "tail");
    QString error;
    ASSERT_TRUE(databuild::buildProgramFolder(data.path(), dir.path(), &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    for (const char* name : {"0909214SD01.mdb", "1309214SD02.mdb", "1509214SD03.mdb", "nwForm10DB.mdb",
                             "TAXDATA.mdb", "Form10Data.mdb"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(f.read(16).startsWith("SQLite format 3")) << name;
    }
    for (const char* copied : {"docs/HELP VAT.rtf", "RptSales.rpt", "test.swf"})
        EXPECT_TRUE(QFile::exists(dir.filePath(copied))) << copied;

    const QString form10 = dir.filePath("nwForm10DB.mdb"), law = dir.filePath("0909214SD01.mdb");
    rawExec(form10, "INSERT INTO tblSales (SlNo, Party, cCode, cMonth) VALUES ('1', 'D''Souza Traders', 'K1', 'March')");
    rawExec(dir.filePath("TAXDATA.mdb"), "CREATE TABLE Mine (x TEXT); INSERT INTO Mine VALUES ('kept')");
    rawExec(dir.filePath("Form10Data.mdb"), "CREATE TABLE Mine (x TEXT); INSERT INTO Mine VALUES ('kept')");
    rawExec(law, "DELETE FROM Kerala");
    writeFile(data.path() + "/RptSales.rpt", "report v2");
    writeFile(data.path() + "/test.swf", banner);   // what the installed one begins with
    ASSERT_TRUE(databuild::buildProgramFolder(data.path(), dir.path()));

    EXPECT_EQ(scalar(form10, "SELECT Party FROM tblSales WHERE cCode='K1'"), "D'Souza Traders");
    EXPECT_EQ(scalar(form10, "SELECT count(*) FROM tblMPage2"), "1");
    EXPECT_EQ(scalar(dir.filePath("TAXDATA.mdb"), "SELECT x FROM Mine"), "kept");
    EXPECT_EQ(scalar(dir.filePath("Form10Data.mdb"), "SELECT x FROM Mine"), "kept");
    EXPECT_NE(scalar(law, "SELECT count(*) FROM Kerala"), "0");
    QFile rpt(dir.filePath("RptSales.rpt"));
    ASSERT_TRUE(rpt.open(QIODevice::ReadOnly));
    EXPECT_EQ(rpt.readAll(), QByteArray("report v2"));
    EXPECT_EQ(QFileInfo(dir.filePath("test.swf")).size(), banner.size());
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.building")}, QDir::Files).isEmpty());
}

TEST(DataBuilder, AFailedBuildLeavesThePreviousLawDatabaseInPlaceAndSaysWhy)
{
    QTemporaryDir dataCopy, program;
    ASSERT_TRUE(copyTree(kDataDir, dataCopy.path()));
    ASSERT_TRUE(databuild::buildProgramFolder(dataCopy.path(), program.path()));
    const QString law = program.filePath("0909214SD01.mdb");
    const QString before = scalar(law, "SELECT count(*) FROM Kerala");

    // A manifest naming a document file that is not there makes the rebuild fail half-way.
    QFile manifest(dataCopy.path() + QStringLiteral("/law/Kerala.tsv"));
    ASSERT_TRUE(manifest.open(QIODevice::Append));
    manifest.write("Section 99\tAct\t99\tA section without its file\tmissing-file.rtf\n");
    manifest.close();
    QString error;
    EXPECT_FALSE(databuild::buildProgramFolder(dataCopy.path(), program.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing-file.rtf"))) << error.toStdString();
    EXPECT_EQ(scalar(law, "SELECT count(*) FROM Kerala"), before);
    EXPECT_TRUE(QDir(program.path()).entryList({QStringLiteral("*.building")}, QDir::Files).isEmpty());

    error.clear();
    EXPECT_FALSE(databuild::buildProgramFolder(program.path() + QStringLiteral("/no-such-data"), program.path(), &error));
    EXPECT_FALSE(error.isEmpty());
}

// Every file of a folder with the identity and date of what is at its path.
std::map<QString, std::pair<ino_t, qint64>> filesOf(const QString& dir)
{
    std::map<QString, std::pair<ino_t, qint64>> out;
    for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) == 0)
            out[QDir(dir).relativeFilePath(path)] = {st.st_ino, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
    }
    return out;
}

// A build with nothing changed writes nothing; a changed file is swapped, not rewritten, so a
// program that has the old one open reads it whole to the end.
TEST(DataBuilder, ARebuildWritesOnlyWhatChangedAndSwapsItWhole)
{
    QTemporaryDir data, dir;
    ASSERT_TRUE(copyTree(kDataDir, data.path()));
    ASSERT_TRUE(databuild::buildProgramFolder(data.path(), dir.path()));
    const auto before = filesOf(dir.path());
    ASSERT_GT(before.size(), 10u);
    ASSERT_TRUE(databuild::buildProgramFolder(data.path(), dir.path()));
    EXPECT_EQ(filesOf(dir.path()), before);

    QFile openLaw(dir.filePath("0909214SD01.mdb")), openHelp(dir.filePath("docs/HELP VAT.rtf"));
    ASSERT_TRUE(openLaw.open(QIODevice::ReadOnly) && openHelp.open(QIODevice::ReadOnly));
    const QByteArray oldLaw = openLaw.readAll(), oldHelp = openHelp.readAll();
    QFile manifest(data.path() + QStringLiteral("/law/Kerala.tsv"));
    ASSERT_TRUE(manifest.open(QIODevice::Append));
    manifest.write("Section 99\tAct\t99\tA section added later\t\n");
    manifest.close();
    writeFile(data.path() + "/docs/HELP VAT.rtf", "{\\rtf1 new help}");
    const QString kerala = scalar(dir.filePath("0909214SD01.mdb"), "SELECT count(*) FROM Kerala");
    ASSERT_TRUE(databuild::buildProgramFolder(data.path(), dir.path()));

    openLaw.seek(0);
    openHelp.seek(0);
    EXPECT_EQ(openLaw.readAll(), oldLaw);
    EXPECT_EQ(openHelp.readAll(), oldHelp);
    EXPECT_EQ(scalar(dir.filePath("0909214SD01.mdb"), "SELECT count(*) FROM Kerala"), QString::number(kerala.toInt() + 1));
    QFile help(dir.filePath("docs/HELP VAT.rtf"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    EXPECT_EQ(help.readAll(), QByteArray("{\\rtf1 new help}"));
    auto after = filesOf(dir.path());
    for (const char* changed : {"0909214SD01.mdb", "docs/HELP VAT.rtf"}) {
        EXPECT_NE(after[changed].first, before.at(changed).first) << changed;
        after[changed] = before.at(changed);
    }
    EXPECT_EQ(after, before);   // the rest as it was
}

// Names keep their blanks and compare case-blind; amounts are numbers, register dates dates,
// the bill lists' dates text, and the exit flag has its one row.
TEST(DataBuilder, LawAndForm10TablesHaveTheNamesAndTypesTheProgramRelies)
{
    TestProgramFolder folder;
    const QString law = folder.file("0909214SD01.mdb");
    EXPECT_EQ(scalar(law, "SELECT name FROM Kerala WHERE name='THE KERALA MONEY-LENDERS ACT 1958 '"),
              "THE KERALA MONEY-LENDERS ACT 1958 ");
    EXPECT_EQ(scalar(law, "SELECT count(*) FROM Kerala WHERE name='THE KERALA MONEY-LENDERS ACT 1958'"), "0");
    EXPECT_EQ(scalar(law, "SELECT name FROM Kerala WHERE name='Mangalya  FORM I'"), "Mangalya  FORM I");
    EXPECT_EQ(scalar(law, "SELECT count(*) FROM Kerala WHERE name='section 6' AND type='ACT'"), "1");
    EXPECT_EQ(scalar(law, "SELECT typeof(fname) FROM Kerala LIMIT 1"), "blob");

    const auto expectType = [&](const QString& file, const QString& table, const QStringList& cols, const QString& type) {
        const QStringList have = rawColumn(file, "SELECT name || ' ' || type FROM pragma_table_info('" + table + "')");
        ASSERT_FALSE(have.isEmpty()) << table.toStdString() << " is missing";
        for (const QString& c : cols)
            EXPECT_FALSE(have.filter(QRegularExpression("^" + c + " " + type)).isEmpty())
                << table.toStdString() << "." << c.toStdString() << " is not " << type.toStdString();
    };
    expectType(law, "Kerala", {"fname"}, "BLOB");
    expectType(law, "Kerala", {"ChapterNo"}, "INTEGER");
    const QString db = folder.file("nwForm10DB.mdb");
    for (const char* reg : {"tblPurchase1", "tblPurchaseInterState1", "tblSales"}) {
        expectType(db, reg, {"SlNo", "BillNo", "RateOfTax", "cMonth", "cCode"}, "TEXT");
        expectType(db, reg, {"Amount", "Tax", "NetAmount"}, "REAL");
        expectType(db, reg, {"BillDate"}, "DATE");
    }
    for (const char* list : {"tblRptPurchase1", "tblRptPurchaseInterState", "tblRptSales1"})
        expectType(db, list, {"BillDate"}, "TEXT");
    for (const char* sums : {"tblCommon", "tblRptPurchaseC", "tblRptPurchaseInterStateC", "tblRptSales", "tblRptCommon"})
        expectType(db, sums, {"cCode", "cMonth"}, "TEXT");
    expectType(db, "tblCommon", {"PTA0", "netTotal"}, "REAL");
    expectType(db, "tblRptSales", {"STA12", "SCTTotal"}, "REAL");
    expectType(db, "tblMPage3", {"cCode", "C1_13"}, "TEXT");
    expectType(db, "tblMPage2", {"FrmFlg"}, "INTEGER");
    EXPECT_EQ(scalar(db, "SELECT count(*) FROM tblMPage2"), "1");
    EXPECT_EQ(scalar(db, "SELECT count(*) FROM tblPurchase1"), "0");
}

TEST(SampleDocument, IsMarkedAndEscapesItsText)
{
    const QByteArray doc = databuild::sampleDocument(QStringLiteral("Rule {7} \\ \u00a7 2"), QStringLiteral("Rules"),
                                                     QStringLiteral("Payment of tax"));
    EXPECT_TRUE(doc.startsWith("{\\rtf1"));
    EXPECT_TRUE(doc.endsWith("}\n"));
    EXPECT_TRUE(doc.contains("Sample text \\u8212? not the official text of the law"));
    EXPECT_TRUE(doc.contains("Rule \\{7\\} \\\\ \\u167? 2"));
    EXPECT_TRUE(doc.contains("Payment of tax"));
    EXPECT_EQ(doc.count('{') - doc.count("\\{"), doc.count('}') - doc.count("\\}"));
    // Characters beyond the basic plane are two code units.
    EXPECT_EQ(databuild::rtfText(QStringLiteral("\u20b9")), QByteArray("\\u8377?"));
    EXPECT_EQ(databuild::rtfText(QString::fromUtf8("\xF0\x9F\x93\x9C")), QByteArray("\\u-10179?\\u-8996?"));
    EXPECT_EQ(databuild::rtfText(QStringLiteral("a\tb")), QByteArray("a\\tab b"));
}

} // namespace
