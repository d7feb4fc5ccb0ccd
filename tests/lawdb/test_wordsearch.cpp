// The list panel's word search and the list type-ahead, on the index table of a program folder.
#include "TestProgramFolder.h"
#include "lawdb/LawDb.h"
#include "lawdb/WordSearch.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MsgBox.h"

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
    EXPECT_EQ(wordSearchStatement("Keralafields", "  CircularSubject ", "  sales   TAX ", "CircularSubject"),
              "Select  * from Keralafields where lcase(`CircularSubject`) like '% sales% %tax %' ORDER BY CircularSubject");
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

    // a column the table lacks, or a table no catalogue holds: it fails before the list is cleared
    for (const auto& [table, column] : {std::pair{"Keralafields", "NoSuchColumn"}, {"NoSuchTable", "CircularSubject"}}) {
        procWordSearch(list, table, column, "tax", "");
        ASSERT_EQ(answers.messages().size(), 1u) << table;
        EXPECT_TRUE(answers.messages()[0].prompt.startsWith("WS Err ") && answers.messages()[0].prompt.size() > 7);
        EXPECT_EQ(answers.messages()[0].title, "IN_DEBUG");
        EXPECT_EQ(entries(), before);
        ui::clearShownMessages();
    }
    EXPECT_EQ(state().WordSearchRecordset->State(), ado::adStateClosed);

    // the statement runs on the trimmed column, the rows are read by the name as given
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

    // text, the entry chosen; a word inside an entry does not count, and no text finds nothing
    for (auto [typed, index] : {std::pair{"s", 5}, {"TAX O", 6}, {"on sales", -1}, {"t", 6}, {"", -1}}) {
        EXPECT_EQ(service.ListBoxTypingSearch(list, typed), index) << typed;
        EXPECT_EQ(list.ListIndex(), index) << typed;
    }
    EXPECT_EQ(list.Text(), "");
    EXPECT_EQ(clicks, 5);
}
