// The program-folder builder: what it creates, what it replaces and what it must never touch.
#include "TestProgramFolder.h"

#include <databuild/DataBuilder.h>
#include <databuild/SampleDocument.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

namespace {

const QString kDataDir = QStringLiteral(LUMORA_DATA_DIR);

// A plain SQLite handle for looking at what the builder wrote.
class Db {
public:
    explicit Db(const QString& path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString();
    }
    ~Db() { sqlite3_close(db_); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    void exec(const char* sql)
    {
        char* msg = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &msg) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (msg ? msg : "?");
            sqlite3_free(msg);
        }
    }
    // First column of the first row as text; "<none>" when there is no row.
    std::string scalar(const std::string& sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
            return {};
        }
        std::string out = "<none>";
        if (sqlite3_step(st) == SQLITE_ROW) {
            const auto* t = sqlite3_column_text(st, 0);
            out = t ? reinterpret_cast<const char*>(t) : "<null>";
        }
        sqlite3_finalize(st);
        return out;
    }
    // Column name -> declared type, from the table's definition.
    std::map<std::string, std::string> columns(const std::string& table)
    {
        std::map<std::string, std::string> out;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db_, ("PRAGMA table_info(" + table + ")").c_str(), -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW)
            out[reinterpret_cast<const char*>(sqlite3_column_text(st, 1))] =
                reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
        sqlite3_finalize(st);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

bool copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + fi.fileName();
        if (fi.isDir() ? !copyTree(fi.absoluteFilePath(), target) : !QFile::copy(fi.absoluteFilePath(), target))
            return false;
    }
    return true;
}

TEST(DataBuilder, BuildsEveryFileOfTheProgramFolder)
{
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(databuild::buildProgramFolder(kDataDir, dir.path(), &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    for (const char* name : {"0909214SD01.mdb", "1309214SD02.mdb", "1509214SD03.mdb", "nwForm10DB.mdb",
                             "TAXDATA.mdb", "Form10Data.mdb"}) {
        QFile f(dir.path() + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(f.read(16).startsWith("SQLite format 3")) << name;
    }
    EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/docs")).exists());
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.building")}, QDir::Files).isEmpty());
}

TEST(DataBuilder, KeepsTheUsersDatabasesAndRebuildsTheLawDatabases)
{
    QTemporaryDir dir;
    ASSERT_TRUE(databuild::buildProgramFolder(kDataDir, dir.path()));
    {
        Db form10(dir.path() + QStringLiteral("/nwForm10DB.mdb"));
        form10.exec("INSERT INTO tblSales (SlNo, Party, cCode, cMonth) VALUES ('1', 'D''Souza Traders', 'K1', 'March')");
        Db tax(dir.path() + QStringLiteral("/TAXDATA.mdb"));
        tax.exec("CREATE TABLE Mine (x TEXT); INSERT INTO Mine VALUES ('kept')");
        Db data(dir.path() + QStringLiteral("/Form10Data.mdb"));
        data.exec("CREATE TABLE Mine (x TEXT); INSERT INTO Mine VALUES ('kept')");
        Db law(dir.path() + QStringLiteral("/0909214SD01.mdb"));
        law.exec("DELETE FROM Kerala");
    }
    ASSERT_TRUE(databuild::buildProgramFolder(kDataDir, dir.path()));

    Db form10(dir.path() + QStringLiteral("/nwForm10DB.mdb"));
    EXPECT_EQ(form10.scalar("SELECT Party FROM tblSales WHERE cCode='K1'"), "D'Souza Traders");
    EXPECT_EQ(form10.scalar("SELECT count(*) FROM tblMPage2"), "1");
    EXPECT_EQ(Db(dir.path() + QStringLiteral("/TAXDATA.mdb")).scalar("SELECT x FROM Mine"), "kept");
    EXPECT_EQ(Db(dir.path() + QStringLiteral("/Form10Data.mdb")).scalar("SELECT x FROM Mine"), "kept");
    EXPECT_NE(Db(dir.path() + QStringLiteral("/0909214SD01.mdb")).scalar("SELECT count(*) FROM Kerala"), "0");
}

TEST(DataBuilder, AFailedBuildLeavesThePreviousLawDatabaseInPlace)
{
    QTemporaryDir dataCopy, program;
    ASSERT_TRUE(copyTree(kDataDir, dataCopy.path()));
    ASSERT_TRUE(databuild::buildProgramFolder(dataCopy.path(), program.path()));
    const std::string before = Db(program.path() + QStringLiteral("/0909214SD01.mdb")).scalar("SELECT count(*) FROM Kerala");

    // A manifest naming a document file that is not there makes the rebuild fail half-way.
    QFile manifest(dataCopy.path() + QStringLiteral("/law/Kerala.tsv"));
    ASSERT_TRUE(manifest.open(QIODevice::Append));
    manifest.write("Section 99\tAct\t99\tA section without its file\tmissing-file.rtf\n");
    manifest.close();

    QString error;
    EXPECT_FALSE(databuild::buildProgramFolder(dataCopy.path(), program.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing-file.rtf"))) << error.toStdString();
    EXPECT_EQ(Db(program.path() + QStringLiteral("/0909214SD01.mdb")).scalar("SELECT count(*) FROM Kerala"), before);
    EXPECT_TRUE(QDir(program.path()).entryList({QStringLiteral("*.building")}, QDir::Files).isEmpty());
}

TEST(DataBuilder, ReportsAMissingDataFolder)
{
    QTemporaryDir program;
    QString error;
    EXPECT_FALSE(databuild::buildProgramFolder(program.path() + QStringLiteral("/no-such-data"), program.path(), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(DataBuilder, CopiesHelpDocumentsTemplatesAndBannerWhenPresent)
{
    QTemporaryDir dataCopy, program;
    ASSERT_TRUE(copyTree(kDataDir, dataCopy.path()));
    const auto write = [&](const QString& rel, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(dataCopy.path() + QLatin1Char('/') + rel).path());
        QFile f(dataCopy.path() + QLatin1Char('/') + rel);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(QStringLiteral("docs/HELP VAT.rtf"), "{\\rtf1 help}");
    write(QStringLiteral("RptSales.rpt"), "report");
    write(QStringLiteral("test.swf"), "banner");
    ASSERT_TRUE(databuild::buildProgramFolder(dataCopy.path(), program.path()));
    EXPECT_TRUE(QFile::exists(program.path() + QStringLiteral("/docs/HELP VAT.rtf")));
    EXPECT_TRUE(QFile::exists(program.path() + QStringLiteral("/RptSales.rpt")));
    EXPECT_TRUE(QFile::exists(program.path() + QStringLiteral("/test.swf")));

    // A second build replaces the copies with the current files.
    write(QStringLiteral("RptSales.rpt"), "report v2");
    ASSERT_TRUE(databuild::buildProgramFolder(dataCopy.path(), program.path()));
    QFile rpt(program.path() + QStringLiteral("/RptSales.rpt"));
    ASSERT_TRUE(rpt.open(QIODevice::ReadOnly));
    EXPECT_EQ(rpt.readAll(), QByteArray("report v2"));
}

TEST(DataBuilder, LawTablesKeepNamesExactlyAndCompareWithoutCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(databuild::buildProgramFolder(kDataDir, dir.path()));
    Db law(dir.path() + QStringLiteral("/0909214SD01.mdb"));
    EXPECT_EQ(law.scalar("SELECT name FROM Kerala WHERE name='THE KERALA MONEY-LENDERS ACT 1958 '"),
              "THE KERALA MONEY-LENDERS ACT 1958 ");
    EXPECT_EQ(law.scalar("SELECT count(*) FROM Kerala WHERE name='THE KERALA MONEY-LENDERS ACT 1958'"), "0");
    EXPECT_EQ(law.scalar("SELECT name FROM Kerala WHERE name='Mangalya  FORM I'"), "Mangalya  FORM I");
    EXPECT_EQ(law.scalar("SELECT count(*) FROM Kerala WHERE name='section 6' AND type='ACT'"), "1");
    EXPECT_EQ(law.scalar("SELECT typeof(fname) FROM Kerala LIMIT 1"), "blob");
    EXPECT_EQ(law.columns("Kerala")["fname"], "BLOB");
    EXPECT_EQ(law.columns("Kerala")["ChapterNo"], "INTEGER");
}

// The column types the Form 10 code relies on: amounts summed as numbers, register dates as
// dates, the bill lists' dates as text, and the exit flag's one row.
TEST(DataBuilder, Form10DatabaseHasTheTablesAndTypesTheToolRelies)
{
    TestProgramFolder folder;
    Db db(folder.file(QStringLiteral("nwForm10DB.mdb")));
    const auto expectType = [&](const std::string& table, const std::vector<std::string>& cols, const std::string& type) {
        const auto have = db.columns(table);
        ASSERT_FALSE(have.empty()) << table << " is missing";
        for (const auto& c : cols)
            EXPECT_EQ(have.count(c) ? have.at(c).substr(0, type.size()) : "<missing>", type) << table << "." << c;
    };
    const std::vector<std::string> money{"Amount", "Tax", "Cess", "NetAmount"};
    for (const char* reg : {"tblPurchase1", "tblPurchaseInterState1", "tblSales"}) {
        expectType(reg, {"SlNo", "Party", "TIN", "BillNo", "RateOfTax", "cMonth", "cAddress", "eDate", "cCode"}, "TEXT");
        expectType(reg, money, "REAL");
        expectType(reg, {"BillDate"}, "DATE");
    }
    for (const char* list : {"tblRptPurchase1", "tblRptPurchaseInterState", "tblRptSales1"})
        expectType(list, {"BillDate", "cCode", "cMonth"}, "TEXT");
    for (const char* sums : {"tblCommon", "tblRptPurchaseC", "tblRptPurchaseInterStateC", "tblRptSales", "tblRptCommon"})
        expectType(sums, {"cCode", "cMonth", "cAddress", "eDate"}, "TEXT");
    expectType("tblCommon", {"PTA0", "PTT20", "STC12", "RT4", "STACST", "netTotal"}, "REAL");
    expectType("tblRptPurchaseC", {"PTA0", "PRT20", "PCTTotal", "STA4", "STTCST"}, "REAL");
    expectType("tblRptPurchaseInterStateC", {"PTA1", "PCTAmt"}, "REAL");
    expectType("tblRptSales", {"STA12", "SRT0", "SRTCST", "SCTTotal"}, "REAL");
    expectType("tblRptCommon", {"PTA20", "PTT1"}, "REAL");
    for (const char* page : {"tblMPage1", "tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"})
        expectType(page, {"cCode", "cYear", "cSequence", "cRPFrom"}, "TEXT");
    expectType("tblMPage3", {"C1_13", "C2_56", "C3_37"}, "TEXT");
    expectType("tblMPage2", {"FrmFlg"}, "INTEGER");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM tblMPage2"), "1");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM tblPurchase1"), "0");
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
    // Braces balance, so the document parses as one group.
    int depth = 0;
    for (qsizetype i = 0; i < doc.size(); ++i) {
        if (doc[i] == '\\') {
            ++i;
            continue;
        }
        depth += doc[i] == '{' ? 1 : doc[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST(SampleDocument, WritesCharactersBeyondTheBasicPlaneAsTwoCodeUnits)
{
    EXPECT_EQ(databuild::rtfText(QStringLiteral("\u20b9")), QByteArray("\\u8377?"));
    EXPECT_EQ(databuild::rtfText(QString::fromUtf8("\xF0\x9F\x93\x9C")), QByteArray("\\u-10179?\\u-8996?"));
    EXPECT_EQ(databuild::rtfText(QStringLiteral("a\tb")), QByteArray("a\\tab b"));
}

} // namespace
