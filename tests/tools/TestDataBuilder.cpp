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

TEST(DataBuilder, Form10DatabaseHasEveryTableAndColumnTheToolUses)
{
    TestProgramFolder folder;
    Db db(folder.file(QStringLiteral("nwForm10DB.mdb")));
    const std::vector<std::string> rates{"0", "1", "4", "12", "20"};
    const auto withRates = [&](std::vector<std::string> prefixes) {
        std::vector<std::string> out;
        for (const auto& p : prefixes)
            for (const auto& r : rates)
                out.push_back(p + r);
        return out;
    };
    const auto expectColumns = [&](const std::string& table, const std::vector<std::string>& cols,
                                   const char* type) {
        const auto have = db.columns(table);
        ASSERT_FALSE(have.empty()) << table << " is missing";
        for (const auto& c : cols) {
            const auto it = have.find(c);
            if (it == have.end()) {
                ADD_FAILURE() << table << "." << c << " is missing";
            } else if (type) {
                EXPECT_EQ(it->second.substr(0, std::string(type).size()), type) << table << "." << c;
            }
        }
    };
    const std::vector<std::string> text{"SlNo", "Party", "TIN", "BillNo", "RateOfTax", "cMonth", "cAddress", "eDate", "cCode"};
    const std::vector<std::string> money{"Amount", "Tax", "Cess", "NetAmount"};
    for (const char* reg : {"tblPurchase1", "tblPurchaseInterState1", "tblSales"}) {
        expectColumns(reg, text, "TEXT");
        expectColumns(reg, money, "REAL");
        expectColumns(reg, {"BillDate"}, "DATE");
    }
    for (const char* list : {"tblRptPurchase1", "tblRptPurchaseInterState", "tblRptSales1"}) {
        expectColumns(list, text, "TEXT");
        expectColumns(list, {"BillDate"}, "TEXT");
        expectColumns(list, money, nullptr);
    }
    expectColumns("tblPurchase1", {"Place"}, "TEXT");
    expectColumns("tblPurchaseInterState1", {"Place"}, "TEXT");
    expectColumns("tblRptPurchase1", {"Place"}, "TEXT");
    EXPECT_EQ(db.columns("tblSales").count("Place"), 0u);
    EXPECT_EQ(db.columns("tblRptSales1").count("Place"), 0u);

    const std::vector<std::string> key{"cCode", "cMonth", "cAddress"};
    auto common = withRates({"PTA", "PTT", "PTC", "STA", "STT", "STC", "RT"});
    common.insert(common.end(), {"STACST", "STTCST", "STCCST", "netTotal"});
    expectColumns("tblCommon", common, "REAL");
    expectColumns("tblCommon", {"cCode", "cMonth", "cAddress", "eDate", "Place", "Category"}, "TEXT");

    const auto purchaseSums = withRates({"PTA", "PTT", "PTC", "PRT"});
    for (const char* t : {"tblRptPurchaseC", "tblRptPurchaseInterStateC"}) {
        expectColumns(t, key, "TEXT");
        expectColumns(t, purchaseSums, "REAL");
        expectColumns(t, {"PCTAmt", "PCTTax", "PCTCess", "PCTTotal"}, "REAL");
        expectColumns(t, {"Place", "eDate"}, "TEXT");
    }
    // The unused copier of the sales figures writes them into the purchase report table.
    expectColumns("tblRptPurchaseC", withRates({"STA", "STT"}), "REAL");
    expectColumns("tblRptPurchaseC", {"STACST", "STTCST"}, "REAL");
    auto sales = withRates({"STA", "STT", "STC", "SRT"});
    sales.insert(sales.end(), {"STACST", "STTCST", "STCCST", "SRTCST", "SCTAmt", "SCTTax", "SCTCess", "SCTTotal"});
    expectColumns("tblRptSales", sales, "REAL");
    expectColumns("tblRptSales", {"cCode", "cMonth", "cAddress", "Place", "eDate"}, "TEXT");
    expectColumns("tblRptCommon", withRates({"PTA", "PTT"}), "REAL");
    expectColumns("tblRptCommon", {"cCode", "cMonth", "cAddress", "Category", "eDate"}, "TEXT");

    const std::vector<std::string> pageKey{"cCode", "cYear", "cSequence", "cRPFrom"};
    for (const char* page : {"tblMPage1", "tblMPage2", "tblMPage3", "tblMPage4", "tblMPage5"})
        expectColumns(page, pageKey, "TEXT");
    expectColumns("tblMPage1", {"SL13", "SL14", "SL17", "SL43", "SL47", "SL63", "SL64", "SL67", "SL54", "SL57",
                                "A1T4", "A1T7", "ISS13", "ISS14", "ISS17", "ISS34", "ISS37", "A2T4", "A2T7"}, "TEXT");
    std::vector<std::string> page3;
    for (const char* r : {"1", "2", "3", "4", "6"})
        for (const char* k : {"3", "4", "5", "6", "7"})
            page3.push_back(std::string("C1_") + r + k);
    for (const char* r : {"1", "2", "4", "5"})
        for (const char* k : {"3", "4", "5", "6"})
            page3.push_back(std::string("C2_") + r + k);
    page3.insert(page3.end(), {"C1_54", "C1_55", "C1_56", "C1_57", "C2_34", "C2_35", "C2_36",
                               "C3_34", "C3_35", "C3_36", "C3_37"});
    expectColumns("tblMPage3", page3, "TEXT");
    expectColumns("tblMPage2", {"FrmFlg"}, "INTEGER");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM tblMPage2"), "1");
    // Registers and report tables start empty.
    EXPECT_EQ(db.scalar("SELECT count(*) FROM tblPurchase1"), "0");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM tblCommon"), "0");
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
