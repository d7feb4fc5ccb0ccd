// Recordset behaviour: navigation, fields and their types, adding and editing rows, clones
// and bookmarks, read-only refusal, closing, and statements that return no rows.
#include "DbFixture.h"

#include <limits>

using namespace ado;
using dbtest::DbTest;
using dbtest::errorNumber;

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
    long count(const QString& where) { return query(cn, "SELECT * FROM items WHERE " + where)->RecordCount(); }
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
    EXPECT_EQ(errorNumber([&] { rs->MoveNext(); }), err::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->Fields("id").Value(); }), err::NoCurrentRecord);
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields("id").Value().toLongLong(), 3);
    rs->MoveFirst();
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    EXPECT_FALSE(rs->Eof());
    EXPECT_EQ(errorNumber([&] { rs->MovePrevious(); }), err::NoCurrentRecord);
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
    EXPECT_EQ(errorNumber([&] { none->MoveNext(); }), err::NoCurrentRecord);
}

TEST_F(Recordsets, FieldsByNameOrIndexWithTypesFromDeclarationsAndFromValues)
{
    auto rs = query(cn, "SELECT id, name, price, born, doc, ok, note, id * 2 AS twice, price / 2 AS half, "
                        "name & '!' AS shout, NULL AS nada, Len(name) AS n FROM items ORDER BY id");
    const int expected[] = {adInteger, adVarWChar, adDouble, adDBTimeStamp, adLongVarBinary, adBoolean,
                            adVarWChar, adInteger, adDouble, adVarWChar, adVarWChar,     adInteger};
    for (int i = 0; i < rs->FieldCount(); ++i)
        EXPECT_EQ(rs->Fields(i).Type(), expected[i]) << rs->Fields(i).Name().toStdString();
    EXPECT_EQ(rs->Fields("BORN").Value().toDate(), QDate(2009, 1, 2));
    EXPECT_EQ(rs->Fields("doc").Value().toBytes(), QByteArray("\x01\x02", 2));
    EXPECT_EQ(rs->Fields("ok").Value().kind(), Variant::Kind::Boolean);
    EXPECT_TRUE(rs->Fields("ok").Value().toBool());
    EXPECT_EQ(static_cast<Variant>(rs->Fields(1)).toString(), "one");
    for (const auto& missing : std::vector<std::function<void()>>{
             [&] { rs->Fields("price2"); }, [&] { rs->Fields(12); }, [&] { rs->Fields(-1); }})
        EXPECT_EQ(errorNumber(missing), err::ItemNotFound);
    rs->MoveNext();
    EXPECT_FALSE(rs->Fields("ok").Value().toBool());
    EXPECT_TRUE(rs->Fields("born").Value().isNull());
    EXPECT_TRUE(rs->Fields("half").Value().isNull());   // Null through arithmetic
}

TEST_F(Recordsets, AddNewInsertsWithUnsetColumnsNullAndBecomesCurrentAndCancelUpdateAddsNone)
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
    // the date is stored as ISO text, so the file reads the same to any SQLite client
    EXPECT_EQ(dbtest::rawColumn(file("r.mdb"), "SELECT typeof(born) || ' ' || born FROM items WHERE id = 9"),
              QStringList{"text 2011-05-06"});
    for (int id : {10, 11}) {   // moving off a new row saves it
        rs->AddNew();
        rs->Fields("id") = Variant(id);
        rs->MoveNext();
    }
    EXPECT_EQ(count("id >= 10"), 2);

    // nothing set: an all-Null row; cancelled: none
    auto e = query(cn, "SELECT * FROM empty");
    e->AddNew();
    e->Update();
    e->AddNew();
    e->Fields("a") = Variant("x");
    e->CancelUpdate();
    e->Update();   // nothing pending: nothing happens
    EXPECT_EQ(column(query(cn, "SELECT * FROM empty"), "a"), QStringList{"<Null>"});
}

TEST_F(Recordsets, AnEditIsSavedOnMovingOffForTheCurrentRowOnlyAndSeenByClones)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    auto view = rs->Clone(adLockReadOnly);
    rs->Fields("name") = Variant("uno");
    rs->MoveNext();   // moving off the edited row saves it
    EXPECT_EQ(view->Fields("name").Value().toString(), "uno");
    EXPECT_EQ(count("name = 'uno'"), 1);

    auto twins = query(cn, "SELECT name, price FROM items WHERE id = 3");   // two identical rows
    twins->MoveLast();
    twins->Fields("price") = Variant("7.5");   // text into a REAL column reads back as a number
    twins->Update();
    EXPECT_EQ(twins->Fields("price").Value().kind(), Variant::Kind::Double);
    EXPECT_EQ(column(query(cn, "SELECT price FROM items WHERE id = 3 ORDER BY price"), "price"),
              (QStringList{"3.25", "7.5"}));
}

TEST_F(Recordsets, ReadOnlyClonesRecordsetsAndExpressionsRefuseEdits)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    auto ro = rs->Clone(adLockReadOnly);
    EXPECT_EQ(ro->RecordCount(), 4);
    EXPECT_EQ(errorNumber([&] { ro->Fields("name") = Variant("x"); }), err::ReadOnly);
    EXPECT_EQ(errorNumber([&] { ro->AddNew(); }), err::ReadOnly);
    EXPECT_EQ(errorNumber([&] { ro->Delete(); }), err::ReadOnly);
    auto plain = newRecordset();
    plain->Open("SELECT * FROM items", cn);   // default lock: read-only
    EXPECT_EQ(errorNumber([&] { plain->Fields("name") = Variant("x"); }), err::ReadOnly);
    // an editable clone of the read-only view still edits
    auto rw = ro->Clone(adLockOptimistic);
    rw->Fields("name") = Variant("edited");
    rw->Update();
    EXPECT_EQ(count("id = 1 AND name = 'edited'"), 1);
    // expressions and grouped rows cannot be edited
    rs = query(cn, "SELECT id, name & '!' AS shout FROM items");
    EXPECT_EQ(errorNumber([&] { rs->Fields("shout") = Variant("x"); }), err::ReadOnly);
    auto grouped = query(cn, "SELECT name, count(*) AS n FROM items GROUP BY name");
    EXPECT_EQ(errorNumber([&] { grouped->Fields("name") = Variant("x"); }), err::ReadOnly);
}

TEST_F(Recordsets, DeleteRemovesTheRowAndBookmarksFindTheSameRowInClones)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    auto other = rs->Clone();
    rs->MoveNext();   // on 'two'
    rs->Delete();
    EXPECT_EQ(errorNumber([&] { rs->Fields("name").Value(); }), err::NoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("name").Value().toString(), "three");
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(other->RecordCount(), 3);
    EXPECT_EQ(count("id = 2"), 0);

    rs->MoveLast();
    const Variant mark = rs->Bookmark();
    auto c = rs->Clone(adLockReadOnly);
    EXPECT_EQ(c->AbsolutePosition(), 1);   // a clone starts at the first row
    c->setBookmark(mark);
    EXPECT_EQ(c->AbsolutePosition(), 3);
    EXPECT_EQ(errorNumber([&] { c->setBookmark(Variant(999)); }), err::FilterInvalid);
    EXPECT_EQ(errorNumber([&] { c->setBookmark(Variant::null()); }), err::FilterInvalid);
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
    EXPECT_EQ(errorNumber([&] { rs->MoveNext(); }), err::ObjectClosed);
    EXPECT_EQ(errorNumber([&] { rs->Eof(); }), err::ObjectClosed);
    EXPECT_EQ(errorNumber([&] { rs->Fields(0); }), err::ObjectClosed);
    EXPECT_EQ(clone->RecordCount(), 4);   // the clone keeps the rows
    rs->Open("SELECT * FROM empty", cn);
    EXPECT_EQ(rs->State(), adStateOpen);
    EXPECT_EQ(errorNumber([&] { rs->Open("SELECT * FROM empty", cn); }), err::ObjectOpen);
}

TEST_F(Recordsets, OpenByStatementTableOrConnectStringNeedsAConnectionAndReportsBadStatements)
{
    auto rs = newRecordset();
    EXPECT_EQ(errorNumber([&] { rs->Open("SELECT * FROM items"); }), err::NoConnection);
    EXPECT_EQ(errorNumber([&] { rs->Open("SELECT * FROM items", newConnection()); }), err::NoConnection);
    const Error e = dbtest::caught([&] { rs->Open("SELECT * FROM nowhere", cn); });
    EXPECT_EQ(e.Number(), err::SyntaxError);
    EXPECT_TRUE(e.Description().contains("nowhere"));
    EXPECT_EQ(rs->State(), adStateClosed);

    // a statement without rows runs and leaves the recordset closed
    rs->Open("DELETE * FROM  items WHERE id = 3", cn, adOpenKeyset, adLockOptimistic, -1);
    EXPECT_EQ(rs->State(), adStateClosed);
    rs->Open(" INSERT INTO items ( id , name )     VALUES   (7,'seven')", cn);
    EXPECT_EQ(rs->State(), adStateClosed);
    EXPECT_EQ(count("name='SEVEN'"), 1);

    rs->Open("items", cn, adOpenStatic, adLockOptimistic, 2);
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->Close();
    rs->Open("SELECT * FROM items WHERE id = 1", connectString("r.mdb"), adOpenForwardOnly, adLockReadOnly);
    EXPECT_EQ(rs->RecordCount(), 1);
    ASSERT_TRUE(rs->ActiveConnection);
    EXPECT_EQ(rs->ActiveConnection->handle(), cn->handle());
}

TEST_F(Recordsets, TextIntoNumberAndDateColumnsIsConvertedOrRefused)
{
    auto rs = query(cn, "SELECT * FROM items WHERE id = 1");
    rs->Fields("born") = Variant("05-03-2009");   // stored in the one date form
    rs->Update();
    EXPECT_EQ(count("born = #3/5/2009#"), 1);
    rs->Fields("born") = Variant("26-09-08");
    rs->Update();
    EXPECT_EQ(query(cn, "SELECT born FROM items WHERE id = 1")->Fields(0).Value().toDate(), QDate(2008, 9, 26));
    EXPECT_EQ(errorNumber([&] { rs->Fields("price") = Variant("12a"); }), err::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs->Fields("price") = Variant(""); }), err::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs->Fields("born") = Variant("someday"); }), err::TypeMismatch);
    rs->Fields("id") = Variant(" 42 ");
    rs->Fields("price") = Variant(" 1500.00 ");
    rs->Update();
    auto back = query(cn, "SELECT id, price, name FROM items WHERE id = 42");
    ASSERT_EQ(back->RecordCount(), 1);
    EXPECT_EQ(back->Fields("id").Value().kind(), Variant::Kind::Integer);
    EXPECT_DOUBLE_EQ(back->Fields("price").Value().toDouble(), 1500.0);
    EXPECT_EQ(back->Fields("name").Value().toString(), "one");
}

// Numbers in a text column are stored as text, in a whole-number column rounded half to even.
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
    EXPECT_EQ(count("name='1500'"), 1);

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

// A number too large for a double is refused with Overflow before anything is written.
TEST_F(Recordsets, NumbersTooLargeForADoubleAreNeverStored)
{
    auto rs = query(cn, "SELECT * FROM items ORDER BY id");
    rs->AddNew();
    rs->Fields("id") = Variant(9);
    EXPECT_EQ(errorNumber([&] { rs->Fields("price") = Variant(QString(400, '9')); }), err::Overflow);
    EXPECT_EQ(errorNumber([&] { rs->Fields("id") = Variant(QString("1e400")); }), err::Overflow);
    rs->Fields("price") = Variant(std::numeric_limits<double>::infinity());
    EXPECT_EQ(errorNumber([&] { rs->Update(); }), err::Overflow);
    rs->CancelUpdate();
    EXPECT_EQ(count("id = 9"), 0);
    EXPECT_EQ(count("abs(price) > 1e308"), 0);
}

} // namespace
