// One more character typed in a search screen's box over 20,000 index rows: the filter, the
// grid following it, and the selection and detail box. Goal: under 20 ms per keystroke.
#include "LawBenchFolder.h"
#include "QtBenchmarkMain.h"
#include "lawdb/LawDb.h"
#include "library/ScreenCatalog.h"
#include "library/frmGlobalSections.h"
#include "library/frmkerala.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/TextBox.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRows = 20000;

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<frmGlobalSections> screen;
    ui::TextBox* box = nullptr;
    ui::DataGrid* grid = nullptr;

    Fixture()
    {
        connectLawFolder(dir.path(), QStringLiteral("CircularNumber"), kRows, [](int i) {
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
};

Fixture& fixture() { return sharedFixture<Fixture>(); }

// From "circular 1" to "circular 12": the filter narrows with each character.
void BM_OneMoreCharacter(benchmark::State& state)
{
    Fixture& f = fixture();
    ui::ScopedMsgBoxResponder answers;
    for (auto _ : state) {
        state.PauseTiming();
        f.box->setText(QStringLiteral("circular 1"));
        state.ResumeTiming();
        f.box->setText(QStringLiteral("circular 12"));
        benchmark::DoNotOptimize(f.grid->rowCount());
    }
    state.counters["rows"] = f.grid->rowCount();
}
BENCHMARK(BM_OneMoreCharacter)->Unit(benchmark::kMillisecond);

// The first character: from an empty box (all rows) to one word.
void BM_FirstCharacter(benchmark::State& state)
{
    Fixture& f = fixture();
    ui::ScopedMsgBoxResponder answers;
    for (auto _ : state) {
        state.PauseTiming();
        f.box->setText(QString());
        state.ResumeTiming();
        f.box->setText(QStringLiteral("7"));
        benchmark::DoNotOptimize(f.grid->rowCount());
    }
}
BENCHMARK(BM_FirstCharacter)->Unit(benchmark::kMillisecond);

// Emptying the box: the filter is cleared and the grid reloaded over every row.
void BM_ClearingTheBox(benchmark::State& state)
{
    Fixture& f = fixture();
    ui::ScopedMsgBoxResponder answers;
    for (auto _ : state) {
        state.PauseTiming();
        f.box->setText(QStringLiteral("7"));
        state.ResumeTiming();
        f.box->setText(QString());
        benchmark::DoNotOptimize(f.grid->rowCount());
    }
}
BENCHMARK(BM_ClearingTheBox)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The windows go before the application does.
    return runQtBenchmarks(argc, argv, [] { fixtureSlot<Fixture>().reset(); });
}
