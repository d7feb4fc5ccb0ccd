// The statements that turn a chosen row into a document query, and the screen catalogue.
#include "library/DocumentQueries.h"
#include "library/ScreenCatalog.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace library;

TEST(DocumentQueries, GoQueryKeepsItsBlanksAndDoublesQuotes)
{
    EXPECT_EQ(goQueryText("fname", "Kerala", "name", "12", "  and type='Act' "),
              "select fname from Kerala where name='12' and type='Act'");
    // no conditions: the statement still ends in a quote and a blank
    EXPECT_EQ(goQueryText("fname", "Kerala", "name", "12", ""),
              "select fname from Kerala where name='12' ");
    EXPECT_EQ(goQueryText("fname", "Kerala", "name", "Dealer's Guide", ""),
              "select fname from Kerala where name='Dealer''s Guide' ");
}

TEST(DocumentQueries, IndexCellGivesTheTextAfterTheFirstDash)
{
    EXPECT_EQ(indexDocumentName("A-B-C"), "B-C");
    EXPECT_EQ(indexDocumentName("-B"), "B");
    EXPECT_EQ(indexDocumentName("AB"), "");
    EXPECT_EQ(indexDocumentName("AB-"), "");
    EXPECT_EQ(indexDocumentName("Sec 6 - Levy "), " Levy ");   // nothing trimmed
}

TEST(DocumentQueries, NameStatementsQuoteTheValueAndAppendTheConditionAsGiven)
{
    EXPECT_EQ(nameStatement("Kerala", "Section index KGST"),
              "select fname from Kerala where name='Section index KGST'");
    EXPECT_EQ(nameStatement("Kerala", "THE KERALA GENERAL SALES TAX ACT", " and type='Act'"),
              "select fname from Kerala where name='THE KERALA GENERAL SALES TAX ACT' and type='Act'");
    EXPECT_EQ(nameStatement("Globalvatse", "O'Brien v State"),
              "select fname from Globalvatse where name='O''Brien v State'");
}

TEST(DocumentQueries, NumericKeysMustBeNumbers)
{
    EXPECT_EQ(numericKeyText(ado::Variant(qint64(7))).value(), "7");
    EXPECT_EQ(numericKeyText(ado::Variant(7.0)).value(), "7");
    EXPECT_EQ(numericKeyText(ado::Variant(" 12 ")).value(), "12");
    EXPECT_FALSE(numericKeyText(ado::Variant::null()).has_value());
    EXPECT_FALSE(numericKeyText(ado::Variant()).has_value());
    EXPECT_FALSE(numericKeyText(ado::Variant("7 or 1=1")).has_value());

    EXPECT_EQ(numericKeyStatement("CAPractice", "ID", "7"), "select fname from CAPractice where ID=7");
    EXPECT_EQ(numericKeyStatementWithCondition("fname", "Allshedule", "ID", "7", ""),
              "select fname from Allshedule where ID=7 ");
}

TEST(ScreenCatalog, TwentySixScreensEachOpenedByOneNodeOrKey)
{
    const auto& all = screenCatalog();
    ASSERT_EQ(all.size(), 26u);
    EXPECT_STREQ(all.front().variable, "ObjActGlobalSections");
    EXPECT_STREQ(all.back().variable, "ObjCAMenuItemGlobalSection");
    QSet<QString> names, openers;
    int back = 0, own = 0;
    for (const auto& s : all) {
        names.insert(s.variable);
        openers.insert(QString(s.opener) + "/" + s.key);
        back += s.hasBackHandler;
        own += s.shape == GoShape::OwnDocument;
        EXPECT_EQ(s.dontShowOleForm, s.shape != GoShape::OwnDocument) << s.variable;
        EXPECT_FALSE(s.gridQuery().isEmpty()) << s.variable;
    }
    EXPECT_EQ(names.size(), 26);
    EXPECT_EQ(openers.size(), 26);
    EXPECT_EQ(back, 10);
    EXPECT_EQ(own, 2);
    // the same key means different screens in different trees
    EXPECT_STREQ(screenFor("tvw3", "Twor")->variable, "gsJudgmentSection");
    EXPECT_STREQ(screenFor("tvwr", "Twor")->variable, "gsArJudgmentSection");
    EXPECT_STREQ(screenFor("tvwc", "Twor")->variable, "gsCircularSection");
    EXPECT_EQ(screenFor("tvwc", "Oner"), nullptr);
}

TEST(ScreenCatalog, IndexQueryNamesItsColumnInAllSevenPlaces)
{
    const QString q = indexGridQuery("CircularNumber", "CIRCULAR NUMBER");
    EXPECT_EQ(q,
              "SELECT Keralafields.CircularNumber AS Search, "
              "IIf(InStr(1,[Keralafields].[CircularNumber],'-')>0,Left([Keralafields].[CircularNumber],"
              "InStr(1,[Keralafields].[CircularNumber],'-')-1),[Keralafields].[CircularNumber]) AS "
              "[CIRCULAR NUMBER] FROM Keralafields WHERE "
              "(((Len(LTrim(RTrim([Keralafields].[CircularNumber]))))>1)) ORDER BY "
              "Keralafields.CircularNumber ASC;");
    EXPECT_EQ(findScreen("gsNotificationSection")->gridQuery().count("NotifcaionSection"), 7);
}

TEST(ScreenCatalog, AlliedFormsQueryListsTheSixtyThreeNames)
{
    ASSERT_EQ(alliedFormNames().size(), 63);
    const QString q = alliedFormsQuery();
    EXPECT_TRUE(q.startsWith("SELECT Kerala.name AS Search, Kerala.name AS [Section] FROM Kerala "
                             "where name In ( 'AGRICULTURAL INCOME TAX Forms' , 'AIT FORM 1' , "));
    EXPECT_TRUE(q.endsWith(" , 'Tri-FORM H') And Type ='Allied'"));
    EXPECT_TRUE(q.contains("'Mangalya  FORM II' , 'Mangalya FORM III'"));
    EXPECT_EQ(findScreen("ObjAlliedFormsGB")->gridQuery(), q);
}
