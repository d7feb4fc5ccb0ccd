// Recordset behaviour: navigation, fields and their types, adding and editing rows, clones
// and bookmarks, read-only refusal, closing, and statements that return no rows.
#include "DbFixture.h"

#include <limits>

using namespace ado;
using dbtest::DbTest;
using dbtest::errorOf;

namespace {

class Recordsets : public DbTest {
protected:
    ConnectionPtr cn;
    void SetUp() override
    {
        createDb("r.mdb", "CREATE TABLE items (id INTEGER, name TEXT COLLATE NOCASE, price REAL, born DATE, "
                          "doc BLOB, ok BOOLEAN, note VARCHAR(20));"
                          "INSERT INTO items VALUES (1, 'one', 1.5, '2009-01-02', x'0102', 1, NULL);"
                          "INSERT INTO items VALUES (2, 'two', NULL, NULL, NULL, 0, 'n');"
                          "INSERT INTO items VALUES (3, 'three', 3.25, '2010-12-31', NULL, NULL, NULL);"
                          "INSERT INTO items VALUES (3, 'three', 3.25, '2010-12-31', NULL, NULL, NULL);"
                          "CREATE TABLE empty (a TEXT, loose);");
        cn = open("r.mdb");
    }
};

TEST_F(Recordsets, NavigationAndPositions)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_FALSE(rs->Bof());
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), 4);
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs->Fields("id").Value(); }), err::NoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("id").Value().toLongLong(), 3);
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    EXPECT_FALSE(rs->Eof());
    EXPECT_EQ(errorOf([&] { rs->MovePrevious(); }), err::NoCurrentRecord);
    rs->MoveFirst();
    rs->Move(2);
    EXPECT_EQ(rs->Fields("name").Value().toString(), "three");
    rs->Move(-1);
    EXPECT_EQ(rs->Fields("name").Value().toString(), "two");
    rs->Move(10);
    EXPECT_TRUE(rs->Eof());

    auto none = query(cn, "SELECT * FROM empty");   // an empty result is at both ends
    EXPECT_TRUE(none->Bof() && none->Eof());
    EXPECT_TRUE(none->Bookmark().isNull());
    none->MoveFirst();   // harmless on an empty recordset
    EXPECT_EQ(errorOf([&] { none->MoveNext(); }), err::NoCurrentRecord);
}

TEST_F(Recordsets, FieldsByNameAnyCaseAndByIndex)
{
    auto rs = query(cn, "SELECT id, name AS Title FROM items WHERE id = 2");
    EXPECT_EQ(rs->Fields("TITLE").Value().toString(), "two");
    EXPECT_EQ(rs->Fields(0).Name(), "id");
    EXPECT_EQ(static_cast<Variant>(rs->Fields(1)).toString(), "two");
    EXPECT_EQ(errorOf([&] { rs->Fields("name"); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs->Fields(2); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs->Fields(-1); }), err::ItemNotFound);
}

TEST_F(Recordsets, FieldTypesFromDeclarationsAndFromExpressionValues)
{
    auto rs = query(cn, "SELECT id, name, price, born, doc, ok, note, id * 2 AS twice, price / 2 AS half, "
                        "name & '!' AS shout, NULL AS nada, Len(name) AS n FROM items ORDER BY id");
    const int expected[] = {adInteger, adVarWChar, adDouble, adDBTimeStamp, adLongVarBinary, adBoolean,
                            adVarWChar, adInteger, adDouble, adVarWChar, adVarWChar,     adInteger};
    for (int i = 0; i < rs->FieldCount(); ++i)
        EXPECT_EQ(rs->Fields(i).Type(), expected[i]) << rs->Fields(i).Name().toStdString();
    EXPECT_EQ(rs->Fields("born").Value().toDate(), QDate(2009, 1, 2));
    EXPECT_EQ(rs->Fields("doc").Value().toBytes(), QByteArray("\x01\x02", 2));
    EXPECT_EQ(rs->Fields("ok").Value().kind(), Variant::Kind::Boolean);
    EXPECT_TRUE(rs->Fields("ok").Value().toBool());
    rs->MoveNext();
    EXPECT_FALSE(rs->Fields("ok").Value().toBool());
    EXPECT_TRUE(rs->Fields("born").Value().isNull());
    EXPECT_TRUE(rs->Fields("half").Value().isNull());   // Null through arithmetic
}

TEST_F(Recordsets, AddNewInsertsWithUnsetColumnsNullAndBecomesCurrent)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    const int gen = rs->generation();
    rs->AddNew();
    EXPECT_TRUE(rs->editMode());
    EXPECT_TRUE(rs->Fields("name").Value().isNull());
    rs->Fields("id") = Variant(9);
    rs->Fields("name") = Variant("nine");
    rs->Fields("born") = Variant(QDate(2011, 5, 6));
    rs->Fields("doc") = Variant(QByteArray("\0\xff", 2));
    rs->Fields("ok") = Variant(true);
    EXPECT_EQ(rs->Fields("name").Value().toString(), "nine");
    rs->Update();
    EXPECT_FALSE(rs->editMode());
    EXPECT_NE(rs->generation(), gen);
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(rs->AbsolutePosition(), 5);
    EXPECT_EQ(rs->Fields("id").Value().toLongLong(), 9);

    auto back = query(cn, "SELECT * FROM items WHERE id = 9");
    ASSERT_EQ(back->RecordCount(), 1);
    EXPECT_EQ(back->Fields("born").Value().toDate(), QDate(2011, 5, 6));
    EXPECT_EQ(back->Fields("doc").Value().toBytes(), QByteArray("\0\xff", 2));
    EXPECT_TRUE(back->Fields("ok").Value().toBool());
    EXPECT_TRUE(back->Fields("price").Value().isNull());
    EXPECT_TRUE(back->Fields("note").Value().isNull());
}

TEST_F(Recordsets, AddNewWithNothingSetAddsAnAllNullRowAndCancelUpdateAddsNone)
{
    auto rs = query(cn, "SELECT * FROM empty");
    rs->AddNew();
    rs->Update();
    EXPECT_EQ(query(cn, "SELECT count(*) FROM empty WHERE a IS NULL")->Fields(0).Value().toLongLong(), 1);
    rs->AddNew();
    rs->Fields("a") = Variant("x");
    rs->CancelUpdate();
    rs->Update();   // nothing pending: nothing happens
    EXPECT_EQ(query(cn, "SELECT * FROM empty")->RecordCount(), 1);
}

TEST_F(Recordsets, EditUpdatesOnlyTheCurrentRowEvenAmongIdenticalRows)
{
    auto rs = query(cn, "SELECT name, price FROM items WHERE id = 3");
    ASSERT_EQ(rs->RecordCount(), 2);
    rs->MoveLast();
    rs->Fields("price") = Variant("7.5");   // text into a REAL column reads back as a number
    rs->Update();
    EXPECT_EQ(rs->Fields("price").Value().kind(), Variant::Kind::Double);
    auto back = query(cn, "SELECT price FROM items WHERE id = 3 ORDER BY price");
    EXPECT_EQ(column(back, "price"), (QStringList{"3.25", "7.5"}));
}

TEST_F(Recordsets, EditWrittenThroughOneCursorIsSeenByItsClone)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    auto view = rs->Clone(adLockReadOnly);
    rs->Fields("name") = Variant("uno");
    rs->MoveNext();   // moving off the edited row saves it
    EXPECT_EQ(view->Fields("name").Value().toString(), "uno");
    EXPECT_EQ(query(cn, "SELECT name FROM items WHERE id = 1")->Fields(0).Value().toString(), "uno");
}

TEST_F(Recordsets, ReadOnlyClonesRecordsetsAndExpressionsRefuseEdits)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    auto ro = rs->Clone(adLockReadOnly);
    EXPECT_EQ(ro->RecordCount(), 4);
    EXPECT_EQ(errorOf([&] { ro->Fields("name") = Variant("x"); }), err::ReadOnly);
    EXPECT_EQ(errorOf([&] { ro->AddNew(); }), err::ReadOnly);
    EXPECT_EQ(errorOf([&] { ro->Delete(); }), err::ReadOnly);
    auto plain = newRecordset();
    plain->Open("SELECT * FROM items", cn);   // default lock: read-only
    EXPECT_EQ(errorOf([&] { plain->Fields("name") = Variant("x"); }), err::ReadOnly);
    // an editable clone of the read-only view still edits
    auto rw = ro->Clone(adLockOptimistic);
    rw->Fields("name") = Variant("edited");
    rw->Update();
    EXPECT_EQ(query(cn, "SELECT name FROM items WHERE id = 1")->Fields(0).Value().toString(), "edited");
    // expressions and grouped rows cannot be edited
    rs = query(cn, "SELECT id, name & '!' AS shout FROM items");
    EXPECT_EQ(errorOf([&] { rs->Fields("shout") = Variant("x"); }), err::ReadOnly);
    auto grouped = query(cn, "SELECT name, count(*) AS n FROM items GROUP BY name");
    EXPECT_EQ(errorOf([&] { grouped->Fields("name") = Variant("x"); }), err::ReadOnly);
}

TEST_F(Recordsets, DeleteRemovesTheRowAndNextMoveGoesOn)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    auto other = rs->Clone();
    rs->MoveNext();   // on 'two'
    rs->Delete();
    EXPECT_EQ(errorOf([&] { rs->Fields("name").Value(); }), err::NoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("name").Value().toString(), "three");
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(other->RecordCount(), 3);
    EXPECT_EQ(query(cn, "SELECT * FROM items WHERE id = 2")->RecordCount(), 0);
}

TEST_F(Recordsets, BookmarksFindTheSameRowInClones)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    rs->MoveLast();
    const Variant mark = rs->Bookmark();
    EXPECT_FALSE(mark.isNull());
    auto c = rs->Clone(adLockReadOnly);
    EXPECT_EQ(c->AbsolutePosition(), 1);   // a clone starts at the first row
    c->setBookmark(mark);
    EXPECT_EQ(c->AbsolutePosition(), 4);
    EXPECT_EQ(errorOf([&] { c->setBookmark(Variant(999)); }), err::FilterInvalid);
    EXPECT_EQ(errorOf([&] { c->setBookmark(Variant::null()); }), err::FilterInvalid);
    c->MoveNext();
    EXPECT_TRUE(c->Bookmark().isNull());
}

TEST_F(Recordsets, CloseIsIdempotentAndClosedRecordsetRefusesWork)
{
    auto rs = query(cn, "SELECT * FROM items");
    auto clone = rs->Clone();
    rs->Close();
    rs->Close();
    EXPECT_EQ(rs->State(), adStateClosed);
    EXPECT_EQ(errorOf([&] { rs->MoveNext(); }), err::ObjectClosed);
    EXPECT_EQ(errorOf([&] { rs->Eof(); }), err::ObjectClosed);
    EXPECT_EQ(errorOf([&] { rs->Fields(0); }), err::ObjectClosed);
    EXPECT_EQ(clone->RecordCount(), 4);   // the clone keeps the rows
    // reopening after a close works
    rs->Open("SELECT * FROM empty", cn);
    EXPECT_EQ(rs->State(), adStateOpen);
    EXPECT_EQ(errorOf([&] { rs->Open("SELECT * FROM empty", cn); }), err::ObjectOpen);
}

TEST_F(Recordsets, StatementWithoutRowsRunsAndLeavesTheRecordsetClosed)
{
    auto rs = newRecordset();
    rs->Open("DELETE * FROM  items WHERE id = 3", cn, adOpenKeyset, adLockOptimistic, -1);
    EXPECT_EQ(rs->State(), adStateClosed);
    EXPECT_EQ(query(cn, "SELECT * FROM items")->RecordCount(), 2);
    rs->Open(" INSERT INTO items ( id , name )     VALUES   (7,'seven')", cn);
    EXPECT_EQ(rs->State(), adStateClosed);
    rs->Close();
    EXPECT_EQ(query(cn, "SELECT * FROM items WHERE name='SEVEN'")->RecordCount(), 1);
}

TEST_F(Recordsets, OpenByTableOrConnectStringNeedsAConnectionAndReportsBadStatements)
{
    auto rs = newRecordset();
    EXPECT_EQ(errorOf([&] { rs->Open("SELECT * FROM items"); }), err::NoConnection);
    auto closed = newConnection();
    EXPECT_EQ(errorOf([&] { rs->Open("SELECT * FROM items", closed); }), err::NoConnection);
    const Error e = dbtest::caught([&] { rs->Open("SELECT * FROM nowhere", cn); });
    EXPECT_EQ(e.Number(), err::SyntaxError);
    EXPECT_TRUE(e.Description().contains("nowhere"));
    EXPECT_EQ(e.Source(), "Lumora.Database");
    EXPECT_EQ(rs->State(), adStateClosed);

    rs->Open("items", cn, adOpenStatic, adLockOptimistic, 2);
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->Close();
    rs->Open("SELECT * FROM items WHERE id = 1", connectString("r.mdb"), adOpenForwardOnly, adLockReadOnly);
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Source(), "SELECT * FROM items WHERE id = 1");
    ASSERT_TRUE(rs->ActiveConnection);
    EXPECT_EQ(rs->ActiveConnection->handle(), cn->handle());
}

TEST_F(Recordsets, TextIntoNumberAndDateColumnsIsConvertedOrRefused)
{
    auto rs = query(cn, "SELECT * FROM items WHERE id = 1");
    rs->Fields("born") = Variant("05-03-2009");   // stored in the one date form
    rs->Update();
    EXPECT_EQ(query(cn, "SELECT id FROM items WHERE born = #3/5/2009#")->RecordCount(), 1);
    rs->Fields("born") = Variant("26-09-08");
    rs->Update();
    EXPECT_EQ(query(cn, "SELECT born FROM items WHERE id = 1")->Fields(0).Value().toDate(), QDate(2008, 9, 26));
    EXPECT_EQ(errorOf([&] { rs->Fields("price") = Variant("12a"); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { rs->Fields("price") = Variant(""); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { rs->Fields("born") = Variant("someday"); }), err::TypeMismatch);
    rs->Fields("id") = Variant(" 42 ");
    rs->Fields("price") = Variant(" 1500.00 ");
    rs->Update();
    auto back = query(cn, "SELECT id, price, name FROM items WHERE id = 42");
    ASSERT_EQ(back->RecordCount(), 1);
    EXPECT_EQ(back->Fields("id").Value().kind(), Variant::Kind::Integer);
    EXPECT_DOUBLE_EQ(back->Fields("price").Value().toDouble(), 1500.0);
    EXPECT_EQ(back->Fields("name").Value().toString(), "one");
}

// A value takes the column's type as the engine converts it: numbers put in a text column are
// stored as their text, in a whole-number column rounded half to even; an untyped column keeps it.
TEST_F(Recordsets, NumbersPutInTextAndWholeNumberColumnsTakeTheColumnsType)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    int id = 5;
    for (const Variant& v : {Variant(1500.0), Variant(12.5), Variant(true)}) {
        rs->AddNew();
        rs->Fields("id") = Variant(id++);
        rs->Fields("name") = v;
        rs->Update();
    }
    EXPECT_EQ(column(query(cn, "SELECT name FROM items WHERE id > 4 ORDER BY id"), "name"),
              (QStringList{"1500", "12.5", "True"}));
    EXPECT_EQ(query(cn, "SELECT id FROM items WHERE name='1500'")->RecordCount(), 1);

    auto one = query(cn, "SELECT * FROM items WHERE id = 1");
    one->Fields("id") = Variant(2.5);
    one->Update();
    EXPECT_EQ(one->Fields("id").Value().kind(), Variant::Kind::Integer);
    EXPECT_EQ(one->Fields("id").Value().toLongLong(), 2);
    const auto stored = [&] { return query(cn, "SELECT id FROM items WHERE name = 'one'")->Fields(0).Value().toLongLong(); };
    one->Fields("id") = Variant(QString(" 3.5 "));
    one->Update();
    EXPECT_EQ(stored(), 4);
    one->Fields("id") = Variant(true);
    one->Update();
    EXPECT_EQ(stored(), -1);

    auto loose = query(cn, "SELECT * FROM empty");
    loose->AddNew();
    loose->Fields("loose") = Variant(2.5);
    loose->Update();
    EXPECT_DOUBLE_EQ(query(cn, "SELECT loose FROM empty")->Fields(0).Value().toDouble(), 2.5);
}

// A number too large for a double is refused with Overflow before anything is written; an
// infinity never reaches a table.
TEST_F(Recordsets, NumbersTooLargeForADoubleAreNeverStored)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    rs->AddNew();
    rs->Fields("id") = Variant(9);
    EXPECT_EQ(errorOf([&] { rs->Fields("price") = Variant(QString(400, '9')); }), err::Overflow);
    EXPECT_EQ(errorOf([&] { rs->Fields("id") = Variant(QString("1e400")); }), err::Overflow);
    rs->Fields("price") = Variant(std::numeric_limits<double>::infinity());
    EXPECT_EQ(errorOf([&] { rs->Update(); }), err::Overflow);
    rs->CancelUpdate();
    EXPECT_EQ(query(cn, "SELECT id FROM items WHERE id = 9")->RecordCount(), 0);
    EXPECT_EQ(query(cn, "SELECT id FROM items WHERE abs(price) > 1e308")->RecordCount(), 0);
}

} // namespace
