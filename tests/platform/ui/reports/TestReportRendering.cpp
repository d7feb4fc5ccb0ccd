// Reading a report's data from its data file and laying it out on pages.
#include "ReportTestUtil.h"

#include "platform/ui/reports/ReportData.h"
#include "platform/ui/reports/ReportLayout.h"
#include "platform/ui/reports/ReportTemplate.h"


using namespace ui;
using reporttest::ReportFiles;

namespace {

ReportData read(const ReportFiles& f)
{
    return readReportData(readReportTemplate(f.templ()), f.templ(), f.data());
}

QString problemReading(const ReportFiles& f, int* line = nullptr, QString* file = nullptr)
{
    try {
        read(f);
    } catch (const ReportError& e) {
        if (line)
            *line = e.line();
        if (file)
            *file = e.file();
        return e.problem();
    }
    return "read";
}

TEST(ReportData, TheMonthOfTheKeyRowInSerialNumberOrderWithMoneyFormattedAndNullsEmpty)
{
    ReportFiles f;
    f.exec("INSERT INTO tHead VALUES ('D1', 'March ', '  Sree Traders ', 100, NULL, 100.5);"
           // serial numbers are text: 10 after 9, not after 1
           "INSERT INTO tBill VALUES ('10', 'Tenth', 1000, 'D1', 'March');"
           "INSERT INTO tBill VALUES ('2', 'Second', 20.5, 'D1', 'march');"
           "INSERT INTO tBill VALUES (' 1', ' First ', NULL, 'D1', 'March');"
           "INSERT INTO tBill VALUES ('9', 'Ninth', 'n/a', 'D1', 'March');"
           // a figure kept as text is read as a register cell is, grouping commas and all
           "INSERT INTO tBill VALUES ('11', 'Eleventh', '1,20,000.5', 'D1', 'March');"
           // another month and another dealer are not this report's
           "INSERT INTO tBill VALUES ('3', 'April bill', 30, 'D1', 'April');"
           "INSERT INTO tBill VALUES ('4', 'Other dealer', 40, 'D2', 'March');");
    const ReportData d = read(f);
    EXPECT_TRUE(d.hasHeaderRow);
    EXPECT_EQ(d.fieldValues, QStringList({"Sree Traders", "March"}));
    ASSERT_EQ(d.rows.size(), 5u);
    EXPECT_EQ(d.rows[0], QStringList({"1", "First", ""}));   // a Null amount is an empty cell
    EXPECT_EQ(d.rows[1], QStringList({"2", "Second", "20.50"}));
    EXPECT_EQ(d.rows[2], QStringList({"9", "Ninth", "n/a"}));
    EXPECT_EQ(d.rows[3], QStringList({"10", "Tenth", "1000.00"}));
    EXPECT_EQ(d.rows[4], QStringList({"11", "Eleventh", "120000.50"}));
    EXPECT_TRUE(d.hasSummaryRow);
    ASSERT_EQ(d.summaryCells.size(), 3u);
    EXPECT_EQ(d.summaryCells[0], QStringList({"100.00"}));
    EXPECT_EQ(d.summaryCells[1], QStringList({""}));
    EXPECT_EQ(d.summaryCells[2], QStringList({"100.50"}));
}

TEST(ReportData, WithoutAKeyRowNoBillIsTakenForTheReport)
{
    ReportFiles f;
    f.bills(3);
    const ReportData d = read(f);
    EXPECT_FALSE(d.hasHeaderRow);
    EXPECT_EQ(d.fieldValues, QStringList({"", ""}));
    EXPECT_TRUE(d.rows.empty());
    EXPECT_FALSE(d.hasSummaryRow);
    EXPECT_EQ(d.summaryCells[2], QStringList({""}));
    const QString text = layoutReport(readReportTemplate(f.templ()), d).plainText();
    EXPECT_TRUE(text.contains("No  Party  Amount\nNo bills\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("Rate")) << text.toStdString();   // no band of empty totals

    // A bare key row: its bills, but still no totals without a figure.
    f.exec("INSERT INTO tHead (cCode, cMonth, cAddress) VALUES ('D1', 'March', 'Sree Traders')");
    const QString bare = layoutReport(readReportTemplate(f.templ()), read(f)).plainText();
    EXPECT_TRUE(bare.contains("Party 1") && !bare.contains("Rate")) << bare.toStdString();
}

TEST(ReportData, ATableOrColumnTheDataFileLacksIsAnErrorAtItsLine)
{
    ReportFiles f;
    const struct {
        const char *from, *to, *problem;
        int line;
    } cases[] = {
        {"column Party", "column Payee", "the table \"tBill\" has no column \"Payee\"", 12},
        {"line \"4\" A4", "line \"4\" A5", "the table \"tHead\" has no column \"A5\"", 19},
        {"link cCode cMonth", "link cCode Month", "the table \"tBill\" has no column \"Month\"", 10},
        {"detail tBill", "detail tBills", "the data file data.mdb has no table \"tBills\"", 8},
    };
    int line = 0;
    QString file;
    for (const auto& c : cases) {
        f.writeTemplate(QByteArray(reporttest::kTemplate).replace(c.from, c.to));
        EXPECT_EQ(problemReading(f, &line, &file), c.problem);
        EXPECT_EQ(line, c.line) << c.problem;
        EXPECT_EQ(file, f.templ());
    }

    // The data file itself: missing, or not a database.
    f.writeTemplate(reporttest::kTemplate);
    QFile::remove(f.data());
    EXPECT_TRUE(problemReading(f, &line, &file).startsWith("the data file cannot be read: "));
    EXPECT_EQ(line, 0);
    EXPECT_EQ(file, f.data());
    QFile junk(f.data());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database, just text that is long enough to be looked at");
    junk.close();
    EXPECT_TRUE(problemReading(f).startsWith("the data file cannot be read: "));
}

// Broken at blanks where it can (a hyphen may end a line too), nothing lost, each line within
// the column, and the next bill below the last line.
TEST(ReportLayout, ATextTooWideForItsColumnWrapsInsideIt)
{
    ReportFiles f;
    const QString party = "Kerala State Co-operative Marketing Federation Limited, Head Office, Gandhi Nagar, "
                          "Kadavanthra, Ernakulam";
    f.exec("INSERT INTO tHead VALUES ('D1', 'March', 'Sree Traders', 1, 2, 3);"
           "INSERT INTO tBill VALUES ('1', '" + party + "', 5, 'D1', 'March'), ('2', 'Short', 6, 'D1', 'March');");
    const ReportLayout layout = layoutReport(readReportTemplate(f.templ()), read(f));
    const ReportPage& p = layout.pages.front();
    const auto find = [&](const QString& text) {
        const auto it = std::find_if(p.texts.begin(), p.texts.end(), [&](const ReportText& x) { return x.text == text; });
        return it == p.texts.end() ? nullptr : &*it;
    };
    const ReportText* heading = find("Party");
    const ReportText* next = find("Short");
    ASSERT_TRUE(heading && next);
    QString words;
    int lines = 0, bottom = 0;
    for (const ReportText& x : p.texts)
        if (x.rect.left() == heading->rect.left() && x.rect.top() > heading->rect.top() && x.rect.top() < next->rect.top()) {
            words += x.text;
            ++lines;
            bottom = x.rect.bottom();
            EXPECT_LE(x.rect.width(), heading->rect.width());
        }
    EXPECT_GE(lines, 2);
    EXPECT_EQ(words.remove(' '), QString(party).remove(' '));
    EXPECT_GT(next->rect.top(), bottom - 1);
}

// Bills whose party names take two to eight lines, so the rows end at ever other heights:
// on every page each row, shaded band and text ends above the footer's rule.
TEST(ReportLayout, BillsOfSeveralLinesStayAboveThePageFooter)
{
    ReportFiles f;
    const QString words = "Kerala State Co-operative Marketing Federation Limited, Head Office, Gandhi Nagar, "
                          "Kadavanthra, Ernakulam ";
    QString sql = "BEGIN; INSERT INTO tHead VALUES ('D1', 'March', 'Sree Traders', 1, 2, 3);";
    for (int i = 1; i <= 90; ++i)
        sql += QString("INSERT INTO tBill VALUES ('%1', '%2', %1, 'D1', 'March');").arg(i).arg(words.repeated(i * 7 % 4 + 1));
    f.exec(sql + "COMMIT;");
    const ReportLayout layout = layoutReport(readReportTemplate(f.templ()), read(f));
    ASSERT_GE(layout.pages.size(), 4u);
    for (size_t n = 0; n < layout.pages.size(); ++n) {
        SCOPED_TRACE(QString("page %1").arg(n + 1).toStdString());
        const ReportPage& p = layout.pages[n];
        double footerText = layout.pageSize.height(), footerRule = -1;
        for (const ReportText& t : p.texts)
            if (t.font == ReportFont::Footer)
                footerText = std::min(footerText, t.rect.top());
        for (const QLineF& l : p.rules)
            if (l.y1() == l.y2() && l.y1() < footerText)
                footerRule = std::max(footerRule, l.y1());
        ASSERT_GT(footerRule, layout.pageSize.height() / 2);
        for (const ReportText& t : p.texts) {
            if (t.font != ReportFont::Footer) {
                EXPECT_LE(t.rect.bottom(), footerRule) << t.text.toStdString();
            }
        }
        for (const QRectF& band : p.shades)
            EXPECT_LE(band.bottom(), footerRule);
    }
}

} // namespace
