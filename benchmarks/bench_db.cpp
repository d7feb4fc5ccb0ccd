// Speed of the database layer on generated data: opening the index grid query over 20,000
// index rows, 2,000 AddNew/Update in one transaction, and one keystroke's filter on 20,000 rows.
#include <platform/db/Connection.h>
#include <platform/db/Recordset.h>

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kIndexRows = 20000;

const char* kIndexQuery =
    "SELECT Keralafields.CircularNumber AS Search, IIf(InStr(1,[Keralafields].[CircularNumber],'-')>0,"
    "Left([Keralafields].[CircularNumber],InStr(1,[Keralafields].[CircularNumber],'-')-1),"
    "[Keralafields].[CircularNumber]) AS [CIRCULAR NUMBER] FROM Keralafields WHERE "
    "(((Len(LTrim(RTrim([Keralafields].[CircularNumber]))))>1)) ORDER BY Keralafields.CircularNumber ASC;";

// A scratch database with 20,000 index rows and an empty sales register.
struct Scratch {
    QTemporaryDir dir;
    QString connect;

    Scratch()
    {
        const QString file = dir.path() + "/0909214SD01.mdb";
        sqlite3* db = nullptr;
        sqlite3_open(file.toUtf8().constData(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE Keralafields (ID INTEGER PRIMARY KEY, CircularNumber TEXT COLLATE NOCASE);"
                     "CREATE TABLE tblSales (SlNo TEXT COLLATE NOCASE, BillDate DATE, Party TEXT COLLATE NOCASE,"
                     " TIN TEXT COLLATE NOCASE, BillNo TEXT COLLATE NOCASE, RateOfTax TEXT COLLATE NOCASE,"
                     " Amount REAL, Tax REAL, Cess REAL, NetAmount REAL, cMonth TEXT COLLATE NOCASE,"
                     " cAddress TEXT COLLATE NOCASE, eDate TEXT COLLATE NOCASE, cCode TEXT COLLATE NOCASE);"
                     "BEGIN;",
                     nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Keralafields (CircularNumber) VALUES (?)", -1, &st, nullptr);
        static const char* const words[] = {"Kerala VAT", "input tax credit", "works contract", "exemption",
                                            "compounding", "stock transfer", "assessment", "penalty"};
        for (int i = 0; i < kIndexRows; ++i) {
            char cell[160];
            std::snprintf(cell, sizeof cell, "Circular No.%d/%d %s %s-Circular%05d", i % 97, 2000 + i % 10,
                          words[i % 8], words[(i / 8) % 8], i);
            sqlite3_bind_text(st, 1, cell, -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        connect = "Driver={Microsoft Access Driver (*.mdb)};Dbq=" + dir.path() + "\\0909214SD01.mdb;Uid=admin;Pwd=x;";
    }
};

Scratch& scratch()
{
    static Scratch s;
    return s;
}

void BM_OpenIndexGridQuery20000(benchmark::State& state)
{
    auto cn = ado::newConnection();
    cn->Open(scratch().connect);
    for (auto _ : state) {
        auto rs = ado::newRecordset();
        rs->Open(kIndexQuery, cn, ado::adOpenStatic, ado::adLockOptimistic);
        benchmark::DoNotOptimize(rs->RecordCount());
    }
}
BENCHMARK(BM_OpenIndexGridQuery20000)->Unit(benchmark::kMillisecond);

void BM_AddNewUpdate2000InOneTransaction(benchmark::State& state)
{
    auto cn = ado::newConnection();
    cn->Open(scratch().connect);
    for (auto _ : state) {
        state.PauseTiming();
        cn->Execute("DELETE * FROM  tblSales");
        state.ResumeTiming();
        cn->BeginTrans();
        auto rs = ado::newRecordset();
        rs->Open("SELECT * FROM tblSales ORDER BY BillDate", cn, ado::adOpenKeyset, ado::adLockOptimistic);
        for (int i = 0; i < 2000; ++i) {
            rs->AddNew();
            rs->Fields("SlNo") = ado::Variant(QString::number(i + 1));
            rs->Fields("BillDate") = ado::Variant(QDate(2009, 3, 1 + i % 28));
            rs->Fields("Party") = ado::Variant("Party name");
            rs->Fields("TIN") = ado::Variant("32010203040");
            rs->Fields("BillNo") = ado::Variant(QString::number(1000 + i));
            rs->Fields("RateOfTax") = ado::Variant("12.5");
            rs->Fields("Amount") = ado::Variant("1500.00");
            rs->Fields("Tax") = ado::Variant("187.50");
            rs->Fields("Cess") = ado::Variant("1.88");
            rs->Fields("NetAmount") = ado::Variant("1689.38");
            rs->Fields("cMonth") = ado::Variant("March");
            rs->Fields("cAddress") = ado::Variant("Dealer");
            rs->Fields("cCode") = ado::Variant("D1");
            rs->Update();
        }
        cn->CommitTrans();
    }
}
BENCHMARK(BM_AddNewUpdate2000InOneTransaction)->Unit(benchmark::kMillisecond);

// One keystroke of the search box: the filter of the words typed so far, on the screen's
// read-only clone of 20,000 rows.
void BM_FilterKeystroke20000(benchmark::State& state)
{
    auto cn = ado::newConnection();
    cn->Open(scratch().connect);
    auto rs = ado::newRecordset();
    rs->Open(kIndexQuery, cn, ado::adOpenStatic, ado::adLockOptimistic);
    auto view = rs->Clone(ado::adLockReadOnly);
    const QString filters[] = {"Search LIKE '*i*'", "Search LIKE '*in*'", "Search LIKE '*inp*'",
                               "Search LIKE '*input*' AND Search LIKE '*c*'",
                               "Search LIKE '*input*' AND Search LIKE '*credit*' AND Search LIKE '*2003*'"};
    size_t k = 0;
    for (auto _ : state) {
        view->setFilter(filters[k++ % std::size(filters)]);
        benchmark::DoNotOptimize(view->RecordCount());
    }
}
BENCHMARK(BM_FilterKeystroke20000)->Unit(benchmark::kMillisecond);

// What a bound grid does after each filter: walk the visible rows once, reading bookmarks.
void BM_WalkBookmarks20000(benchmark::State& state)
{
    auto cn = ado::newConnection();
    cn->Open(scratch().connect);
    auto rs = ado::newRecordset();
    rs->Open(kIndexQuery, cn, ado::adOpenStatic, ado::adLockOptimistic);
    auto view = rs->Clone(ado::adLockReadOnly);
    for (auto _ : state) {
        long n = 0;
        view->MoveFirst();
        while (!view->Eof()) {
            benchmark::DoNotOptimize(view->Bookmark());
            view->MoveNext();
            ++n;
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_WalkBookmarks20000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
