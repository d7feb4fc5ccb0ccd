// The word search of the list panel and the list type-ahead, on the index table of a real
// program folder: the statement the words become, the rows it lists and how each is labelled
// and tagged, the failures that end in "WS Err ", and the prefix search of a list.
#include "TestProgramFolder.h"
#include "lawdb/LawDb.h"
#include "lawdb/WordSearch.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MsgBox.h"

#include <gtest/gtest.h>

using namespace lawdb;

namespace {

class WordSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetState();
        procConnectLawDBs();
        // Cells of every shape the search meets, in a column of their own.
        state().LawConnection1->Execute("UPDATE Keralafields SET CircularSubject = NULL");
        state().LawConnection1->Execute(
            "INSERT INTO Keralafields (ID, CircularSubject) VALUES "
            "(501, 'Sales of TAX goods-Doc1'), (502, 'Tax on sales-Doc2'), (503, 'Dealer''s duty-Doc3'), "
            "(504, '12A-Some document-x'), (505, '-abc'), (506, 'NoDash'), (507, ''), (508, NULL), "
            "(509, 'Works  contract-Doc9'), (510, 'Rate [special] {old}-Doc10')");
    }
    void TearDown() override { resetState(); }
    // Searches the test column and returns the list as "label=id" entries.
    QStringList search(const QString& words, const QString& order = "CircularSubject")
    {
        procWordSearch(list, "Keralafields", "CircularSubject", words, order);
        return entries();
    }
    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < list.ListCount(); ++i)
            out << list.List(i) + "=" + QString::number(list.ItemData(i));
        return out;
    }

    TestProgramFolder folder;
    ui::ScopedMsgBoxResponder answers;
    ui::ListBox list{"List1"};
};

} // namespace

TEST_F(WordSearchTest, StatementCarriesThePatternTheWordsMake)
{
    EXPECT_EQ(wordSearchStatement("Keralafields", "CircularSubject", "sales  tax", "CircularSubject"),
              "Select  * from Keralafields where lcase(`CircularSubject`) like '%sales% %tax%' ORDER BY CircularSubject");
    EXPECT_EQ(wordSearchStatement("Keralafields", "  CircularSubject ", "X", "  "),
              "Select  * from Keralafields where lcase(`CircularSubject`) like '%x%'");

    const std::pair<const char*, const char*> patterns[] = {
        {"", "'%%'"},
        {"   ", "'% %'"},
        {" sales", "'% sales%'"},
        {"tax  ", "'%tax %'"},
        {"  sales   tax ", "'% sales% %tax %'"},
        {"dealer's", "'%dealer''s%'"},
        {"[special] {old}", "'%%special%% %%old%%'"},
        {"Sales TAX", "'%sales% %tax%'"},
    };
    for (const auto& [words, pattern] : patterns)
        EXPECT_EQ(wordSearchPattern(words), pattern) << '"' << words << '"';
}

TEST_F(WordSearchTest, ListsMatchingRowsLabelledAndTaggedWithTheirId)
{
    // no words: every row with a cell, in the order asked for; empty and Null cells never
    EXPECT_EQ(search(""), (QStringList{"-abc=505", "12A-Some document=504", "Dealer's duty=503", "NoDash=506",
                                        "Rate [special] {old}=510", "Sales of TAX goods=501", "Tax on sales=502",
                                        "Works  contract=509"}));
    EXPECT_EQ(state().WordSearchRecordset->State(), ado::adStateOpen);
    const std::pair<const char*, const char*> cases[] = {
        {"SALES   tax", "Sales of TAX goods=501"},   // words in their order, blanks counting once, case ignored
        {"tax sales", "Tax on sales=502"},
        {" sales", "Tax on sales=502"},              // a leading blank wants a blank before the first word
        {"dealer's", "Dealer's duty=503"},           // a quote is searched for, not a break in the statement
        {"[dealer]", "Dealer's duty=503"},           // brackets and braces stand for any run of characters
        {"{special}", "Rate [special] {old}=510"},
    };
    for (const auto& [words, listed] : cases)
        EXPECT_EQ(search(words), QStringList{listed}) << words;
    EXPECT_EQ(search("  ").size(), 6);   // blanks alone find the cells that hold a blank
    EXPECT_FALSE(search("  ").join(' ').contains("NoDash"));
    EXPECT_EQ(search("doc", "").first(), "Sales of TAX goods=501");   // no order: as the table holds them
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(WordSearchTest, AnEmptyTableOrColumnDoesNothingAndFailuresEndInOneMessageKeepingWhatWasListed)
{
    search("sales");
    const QStringList before = entries();
    const QString source = state().WordSearchRecordset->Source();
    for (const auto& [table, column] : std::vector<std::pair<QString, QString>>{
             {"", "CircularSubject"}, {"   ", "CircularSubject"}, {"Keralafields", ""}, {"Keralafields", "  "}}) {
        procWordSearch(list, table, column, "tax", "");
        EXPECT_EQ(entries(), before);
        EXPECT_EQ(state().WordSearchRecordset->Source(), source);
    }
    EXPECT_TRUE(answers.messages().empty());

    // a column the table lacks, or a table no catalogue holds (no connection to run on): the
    // statement fails before the list is cleared
    for (const auto& [table, column] : {std::pair{"Keralafields", "NoSuchColumn"}, {"NoSuchTable", "CircularSubject"}}) {
        procWordSearch(list, table, column, "tax", "");
        ASSERT_EQ(answers.messages().size(), 1u) << table;
        EXPECT_TRUE(answers.messages()[0].prompt.startsWith("WS Err "));
        EXPECT_GT(answers.messages()[0].prompt.size(), 7);
        EXPECT_EQ(answers.messages()[0].title, "IN_DEBUG");
        EXPECT_EQ(answers.messages()[0].icon(), ui::vbExclamation);
        EXPECT_EQ(entries(), before);
        ui::clearShownMessages();
    }
    EXPECT_EQ(state().WordSearchRecordset->State(), ado::adStateClosed);

    // The statement runs on the trimmed column, the rows are read by the name as given:
    // the list has been cleared by then
    procWordSearch(list, "Keralafields", "CircularSubject ", "tax", "");
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_TRUE(answers.messages()[0].prompt.startsWith("WS Err "));
    EXPECT_EQ(list.ListCount(), 0);
}

TEST_F(WordSearchTest, TypingSearchSelectsTheFirstEntryBeginningWithTheText)
{
    search("");
    int clicks = 0;
    QObject::connect(&list, &ui::ListBox::Click, [&] { ++clicks; });
    const clsService& service = state().Service;

    EXPECT_EQ(service.ListBoxTypingSearch(list, "s"), 5);
    EXPECT_EQ(list.ListIndex(), 5);
    EXPECT_EQ(list.Text(), "Sales of TAX goods");
    EXPECT_EQ(service.ListBoxTypingSearch(list, "TAX O"), 6);   // case ignored
    EXPECT_EQ(list.Text(), "Tax on sales");
    EXPECT_EQ(clicks, 2);

    // Text that begins no entry (a word inside one does not count) clears the selection
    EXPECT_EQ(service.ListBoxTypingSearch(list, "on sales"), -1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "");
    EXPECT_EQ(clicks, 3);
}
