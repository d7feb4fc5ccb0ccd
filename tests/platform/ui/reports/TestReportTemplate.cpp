// The template parser on good and broken templates, the template files the program ships,
// and reading a template file.
#include "ReportTestUtil.h"

#include "TestProgramFolder.h"
#include "platform/ui/reports/ReportData.h"
#include "platform/ui/reports/ReportTemplate.h"

#include <algorithm>

using namespace ui;

namespace {

TEST(ReportTemplate, ReadsEveryBandWithItsNamesLinesAndTexts)
{
    const QString text = QString::fromUtf8(
        "\xEF\xBB\xBF# a comment\r\n"
        "\r\n"
        "  LUMORA-REPORT 1\r\n"
        "Title \"The \"\"Best\"\" Register\"\r\n"
        "header tH\r\n"
        "  field \"Dealer name\" cAddress\r\n"
        "  field Month cMonth NAME\r\n"
        "end\r\n"
        "detail tD\r\n"
        "\t# a comment inside a band\r\n"
        "  order SlNo\r\n"
        "  link cCode cMonth\r\n"
        "  column SlNo \"Sl #\" 5 right\r\n"
        "  column Party \"Party\" 20\r\n"
        "  column Amount \"Amount\" 11 MONEY\r\n"
        "  empty \"No bills\"\r\n"
        "end\r\n"
        "summary tH\r\n"
        "  caption \"Totals\"\r\n"
        "  heading \"Rate\" \"Amount\" \"Tax\"\r\n"
        "  line \"12.5\" PTA12 PTT12\r\n"
        "  total Total PCTAmt PCTTax\r\n"
        "end\r\n");
    const ReportTemplate t = parseReportTemplate(text);
    EXPECT_EQ(t.title, "The \"Best\" Register");
    EXPECT_EQ(t.headerTable.line, 5);
    EXPECT_EQ(t.fields[0].label, "Dealer name");
    EXPECT_EQ(t.fields[1].column.line, 7);
    EXPECT_TRUE(!t.fields[0].inFileName && t.fields[1].inFileName);
    EXPECT_EQ(t.orderBy.name, "SlNo");
    ASSERT_EQ(t.links.size(), 2u);
    ASSERT_EQ(t.columns.size(), 3u);
    EXPECT_EQ(t.columns[0].heading, "Sl #");
    const CellFormat formats[] = {CellFormat::Right, CellFormat::Text, CellFormat::Money};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(t.columns[i].format, formats[i]) << i;
    EXPECT_EQ(t.columns[2].column.line, 15);
    EXPECT_EQ(t.summaryHeadings, QStringList({"Rate", "Amount", "Tax"}));
    ASSERT_EQ(t.summaryLines.size(), 2u);
    EXPECT_TRUE(!t.summaryLines[0].total && t.summaryLines[1].total);
    EXPECT_EQ(t.summaryLines[1].columns[1].line, 22);

    // Header and summary are optional.
    const ReportTemplate bare = parseReportTemplate("lumora-report 1\ntitle T\ndetail tD\n column A \"A\" 1\nend\n");
    EXPECT_FALSE(bare.hasHeader() || bare.hasSummary());
}

struct Broken {
    const char* text;
    int line;
    const char* problem;   // a part of the message
    bool afterHead = true; // after a first line and a title
};

void expectRefused(const Broken& c, const QString& text)
{
    SCOPED_TRACE(c.text);
    try {
        parseReportTemplate(text, "/p/Bad.rpt");
        ADD_FAILURE() << "accepted";
    } catch (const ReportError& e) {
        EXPECT_EQ(e.file(), "/p/Bad.rpt");
        EXPECT_EQ(e.line(), c.line) << e.problem().toStdString();
        EXPECT_TRUE(e.problem().contains(QString::fromUtf8(c.problem))) << e.problem().toStdString();
        if (c.line > 0) {
            EXPECT_TRUE(e.text().startsWith(QString("/p/Bad.rpt, line %1: ").arg(c.line))) << e.text().toStdString();
        }
    }
}

TEST(ReportTemplate, RefusesABrokenTemplateOrNoneNamingTheFileTheLineAndTheProblem)
{
    const char* const head = "lumora-report 1\ntitle \"T\"\n";   // lines 1 and 2
    const Broken cases[] = {
        // unknown band
        {"footer tF\nend\n", 3, "unknown band \"footer\""},
        // unterminated texts and stray quotes
        {"detail tD\n  column A \"Amount 5 money\nend\n", 4, "not closed"},
        {"title \"Second\n", 3, "not closed"},
        {"detail tD\n  column A \"A\"5\nend\n", 4, "followed by a blank"},
        {"detail tD\n  column A\"x\" \"A\" 5\nend\n", 4, "double quote inside"},
        // bands not closed, or closed without being opened
        {"detail tD\n  column A \"A\" 5\nsummary tS\nend\n", 5, "the detail band begun on line 3 has no \"end\""},
        {"detail tD\n  column A \"A\" 5\n", 3, "has no \"end\""},
        {"end\n", 3, "\"end\" without a band"},
        {"detail tD\n  column A \"A\" 5\nend junk\n", 5, "\"end\" is written"},
        // lines a band does not know, and malformed ones
        {"detail tD\n  field \"A\" A\nend\n", 4, "unknown line \"field\" in the detail band"},
        {"header tH\n  field \"A\" A bold\nend\n", 4, "only \"name\" may follow"},
        {"header tH\n  field \"A\" A name B\nend\n", 4, "\"field\" is written"},
        {"detail tD\n  column A \"A\" 0\nend\n", 4, "width \"0\""},
        {"detail tD\n  column A \"A\" wide\nend\n", 4, "width \"wide\""},
        {"detail tD\n  column A \"A\" 5 bold\nend\n", 4, "unknown format \"bold\""},
        {"detail tD\n  column \"A B\" \"A\" 5\nend\n", 4, "\"A B\" is not a column name"},
        {"detail t-D\n  column A \"A\" 5\nend\n", 3, "\"t-D\" is not a table name"},
        {"detail tD\n  column A \"A\" 5\nend\ndetail tE\n", 6, "a second detail band (the first begins on line 3)"},
        {"detail tD\n column A \"A\" 5\nend\nsummary tS\n  line \"0\" A\nend\n", 7, "before the heading line"},
        {"detail tD\n column A \"A\" 5\nend\nsummary tS\n  heading \"R\" \"A\" \"T\"\n  line \"0\" A\nend\n", 8,
         "2 columns"},
        {"detail tD\n column A \"A\" 5\nend\nsummary tS\n  heading \"R\" \"A\"\nend\n", 6, "has no line"},
        {"detail tD\n  link cCode\n  column A \"A\" 5\nend\n", 4, "\"link\" needs a header band"},
        {"detail tD\nend\n", 3, "has no column"},
        {"", 0, "has no detail band"},
        {"title \"Again\"\n", 3, "a second title"},
        {"\"detail\" tD\n", 3, "begins with a keyword"},
        // no template of this program
        {"", 0, "holds no template", false},
        {"# only a comment\n\n", 0, "holds no template", false},
        {"title \"T\"\n", 1, "first line must be \"lumora-report 1\"", false},
        {"lumora-report 2\n", 1, "version 2", false},
        {"lumora-report\n", 1, "\"lumora-report\" is written", false},
    };
    for (const Broken& c : cases)
        expectRefused(c, QString::fromUtf8(c.afterHead ? head : "") + QString::fromUtf8(c.text));
}

TEST(ReportTemplate, ReadingAFileNamesItWhenItIsMissingOrNotText)
{
    reporttest::ReportFiles files;
    const auto problemOf = [](const QString& path) {
        try {
            readReportTemplate(path);
        } catch (const ReportError& e) {
            EXPECT_EQ(e.file(), path);
            return e.problem();
        }
        return QString("read");
    };
    EXPECT_EQ(problemOf(files.templ()), "read");
    EXPECT_EQ(problemOf(files.path("Missing.rpt")), "the report template is not there");
    EXPECT_EQ(problemOf(files.path("")), "the report template is not there");   // a folder

    // A template of the old report engine is a binary file.
    files.writeTemplate(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0\0", 12));
    EXPECT_TRUE(problemOf(files.templ()).contains("not a text file"));
    files.writeTemplate("lumora-report 1\ntitle \"T\"\nheader t\n");
    EXPECT_TRUE(problemOf(files.templ()).contains("header band begun on this line has no \"end\""));
}

// The three templates the program ships name only tables and columns the Form 10 database has.
TEST(ReportTemplate, ShippedTemplatesFitTheFormTenDatabase)
{
    TestProgramFolder folder;
    for (const char* name : {"RptPurchase.rpt", "RptPurchaseInterState.rpt", "RptSales.rpt"}) {
        SCOPED_TRACE(name);
        try {
            const ReportTemplate t = readReportTemplate(folder.file(name));
            EXPECT_TRUE(t.hasHeader() && t.hasSummary());
            EXPECT_TRUE(readReportData(t, folder.file(name), folder.path() + "\\nwForm10DB.mdb").rows.empty());
            // The PDF offered for a register carries its month, so the next month's does not replace it.
            EXPECT_TRUE(std::any_of(t.fields.begin(), t.fields.end(),
                                    [](const ReportField& f) { return f.inFileName && f.column.name == "cMonth"; }));
        } catch (const ReportError& e) {
            ADD_FAILURE() << e.text().toStdString();
        }
    }
}

} // namespace
