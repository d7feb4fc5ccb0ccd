// One more character typed in a search screen's box over 20,000 and 100,000 index rows: the
// filter, the grid following it, and the selection and detail box; beside it, SQLite's own
// full scan of the same rows for the same condition (each typed word a LIKE term joined by
// AND), so that the two figures come from one run on one machine. Goals: under 20 ms per
// keystroke at 20,000 rows, and at 100,000 rows no more than SQLite's scan.
#include "LawBenchFolder.h"
#include "QtBenchmarkMain.h"
#include "lawdb/LawDb.h"
#include "library/ScreenCatalog.h"
#include "library/frmGlobalSections.h"
#include "library/frmkerala.h"
#include "platform/ui/grids/DataGrid.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/TextBox.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>
#include <memory>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<frmGlobalSections> screen;
    ui::TextBox* box = nullptr;
    ui::DataGrid* grid = nullptr;

    explicit Fixture(int rows)
    {
        connectLawFolder(dir.path(), QStringLiteral("CircularNumber"), rows, [](int i) {
            return QStringLiteral("%1/20%2 dated %3.0%4.20%2 circular on tax item %5-Circular No. %1")
                .arg(i)
                .arg(i % 20, 2, 10, QLatin1Char('0'))
                .arg(1 + i % 28)
                .arg(1 + i % 9)
                .arg(i * 7919 % 100000);
        });
        screen = std::make_unique<frmGlobalSections>();
        library::configureScreen(*screen, *library::findScreen(QStringLiteral("gsCircularNumber")));
        screen->Show();
        box = screen->findChild<ui::TextBox*>(QStringLiteral("txtSearch"));
        grid = screen->findChild<ui::DataGrid*>(QStringLiteral("DataGrid1"));
    }
    QString lawFile() const { return dir.path() + QStringLiteral("/0909214SD01.mdb"); }
};

// One fixture per row count, each in a program folder of its own.
std::map<int, std::unique_ptr<Fixture>>& fixtures()
{
    static std::map<int, std::unique_ptr<Fixture>> f;
    return f;
}

Fixture& fixture(int rows)
{
    auto& f = fixtures()[rows];
    if (!f)
        f = std::make_unique<Fixture>(rows);
    return *f;
}

// Under valgrind --tool=callgrind --collect-atstart=no only the timed steps are counted, so
// that the two sides can also be compared by instructions on a busy machine.
int typeInto(Fixture& f, const QString& text)
{
    CALLGRIND_TOGGLE_COLLECT;
    f.box->setText(text);
    const int rows = f.grid->rowCount();
    CALLGRIND_TOGGLE_COLLECT;
    return rows;
}

long sqliteScan(sqlite3_stmt* st)
{
    CALLGRIND_TOGGLE_COLLECT;
    long rows = 0, bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        bytes += sqlite3_column_bytes(st, 0);
    }
    sqlite3_reset(st);
    CALLGRIND_TOGGLE_COLLECT;
    benchmark::DoNotOptimize(bytes);
    return rows;
}

// One change of the box's text, from `before` (not timed) to `after`.
void BM_Typing(benchmark::State& state, const char* before, const char* after)
{
    Fixture& f = fixture(int(state.range(0)));
    ui::ScopedMsgBoxResponder answers;
    for (auto _ : state) {
        state.PauseTiming();
        f.box->setText(QString::fromUtf8(before));
        state.ResumeTiming();
        benchmark::DoNotOptimize(typeInto(f, QString::fromUtf8(after)));
    }
    state.counters["rows"] = f.grid->rowCount();
}

// SQLite's full scan of the index column for the condition of "circular 12", every matching
// row read, on the same database file.
void BM_SqliteLikeScan(benchmark::State& state)
{
    Fixture& f = fixture(int(state.range(0)));
    sqlite3* db = nullptr;
    sqlite3_open_v2(f.lawFile().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT CircularNumber FROM Keralafields WHERE CircularNumber LIKE '%circular%' "
                       "AND CircularNumber LIKE '%12%'",
                       -1, &st, nullptr);
    long rows = 0;
    for (auto _ : state)
        rows = sqliteScan(st);
    state.counters["rows"] = double(rows);
    sqlite3_finalize(st);
    sqlite3_close(db);
}

// The filter narrows with each character (beside it SQLite's scan for the same words); a
// character taken back widens the rows again; the first character filters all rows; emptying
// the box clears the filter and reloads the grid.
BENCHMARK_CAPTURE(BM_Typing, OneMoreCharacter, "circular 1", "circular 12")
    ->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SqliteLikeScan)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Typing, CharacterRemoved, "circular 12", "circular 1")
    ->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Typing, FirstCharacter, "", "7")->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Typing, ClearingTheBox, "7", "")->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The windows go before the application does.
    return runQtBenchmarks(argc, argv, [] { fixtures().clear(); });
}
