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
    // No words: every row with a cell, in the order asked for; empty and Null cells never
    EXPECT_EQ(search(""), (QStringList{"-abc=505", "12A-Some document=504", "Dealer's duty=503", "NoDash=506",
                                        "Rate [special] {old}=510", "Sales of TAX goods=501", "Tax on sales=502",
                                        "Works  contract=509"}));
    EXPECT_EQ(state().WordSearchRecordset->State(), ado::adStateOpen);

    // Words in their order, blanks between them counting once, case ignored
    EXPECT_EQ(search("SALES   tax"), QStringList{"Sales of TAX goods=501"});
    EXPECT_EQ(search("tax sales"), QStringList{"Tax on sales=502"});
    // A leading blank wants a blank before the first word
    EXPECT_EQ(search(" sales"), QStringList{"Tax on sales=502"});
    // Blanks alone find the cells that hold a blank
    EXPECT_EQ(search("  ").size(), 6);
    EXPECT_FALSE(search("  ").join(' ').contains("NoDash"));
    // A quote is searched for, not a break in the statement
    EXPECT_EQ(search("dealer's"), QStringList{"Dealer's duty=503"});
    // Brackets and braces stand for any run of characters
    EXPECT_EQ(search("[dealer]"), QStringList{"Dealer's duty=503"});
    EXPECT_EQ(search("{special}"), QStringList{"Rate [special] {old}=510"});
    // Without an order column the rows come as the table holds them
    EXPECT_EQ(search("doc", "").first(), "Sales of TAX goods=501");
    EXPECT_TRUE(answers.messages().empty());
}

TEST_F(WordSearchTest, EmptyTableOrColumnLeavesListAndRecordsetAlone)
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
}

TEST_F(WordSearchTest, FailuresEndInOneMessageAndKeepWhatWasListed)
{
    search("sales");
    const QStringList before = entries();

    // A column the table lacks: the statement fails before the list is cleared
    procWordSearch(list, "Keralafields", "NoSuchColumn", "tax", "");
    ASSERT_EQ(answers.messages().size(), 1u);
    EXPECT_TRUE(answers.messages()[0].prompt.startsWith("WS Err "));
    EXPECT_GT(answers.messages()[0].prompt.size(), 7);
    EXPECT_EQ(answers.messages()[0].title, "IN_DEBUG");
    EXPECT_EQ(answers.messages()[0].icon(), ui::vbExclamation);
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(state().WordSearchRecordset->State(), ado::adStateClosed);

    // A table no catalogue holds has no connection to run on
    procWordSearch(list, "NoSuchTable", "CircularSubject", "tax", "");
    ASSERT_EQ(answers.messages().size(), 2u);
    EXPECT_TRUE(answers.messages()[1].prompt.startsWith("WS Err "));
    EXPECT_EQ(entries(), before);

    // The statement runs on the trimmed column, the rows are read by the name as given:
    // the list has been cleared by then
    procWordSearch(list, "Keralafields", "CircularSubject ", "tax", "");
    ASSERT_EQ(answers.messages().size(), 3u);
    EXPECT_TRUE(answers.messages()[2].prompt.startsWith("WS Err "));
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
