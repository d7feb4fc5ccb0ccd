// Export of a month on the register screen whose registers hold 1,000 purchase bills and
// 1,000 sales bills (saved first): the local purchase, local sales and inter-state sales
// totals written into the page tables in one transaction. Goal: under 5 ms.
#include "QtBenchmarkMain.h"
#include "RegisterScreenBench.h"
#include "platform/db/Connection.h"
#include "platform/ui/forms/MsgBox.h"

#include <benchmark/benchmark.h>

namespace {

bool exported()
{
    const auto& shown = ui::shownMessages();
    return !shown.empty() && shown.back().prompt == QLatin1String("  EXPORTED  SUCCESSFULLY");
}

// A return exported before: every export finds its page row and rewrites it.
void BM_ExportMonth(benchmark::State& state)
{
    RegisterScreenFixture f;
    ui::ScopedMsgBoxResponder answers;
    f.screen->cmdAdd_Click();
    f.screen->cmdExport_Click();
    for (auto _ : state)
        f.screen->cmdExport_Click();
    if (!exported())
        state.SkipWithError("the export did not succeed");
    state.counters["bills"] = 2 * kBills;
    ui::FormRegistry::unloadAll();
}
BENCHMARK(BM_ExportMonth)->Unit(benchmark::kMillisecond)->Iterations(50);

// The first Export of a return: the page rows and key rows are created.
void BM_ExportNewReturn(benchmark::State& state)
{
    RegisterScreenFixture f;
    ui::ScopedMsgBoxResponder answers;
    f.screen->cmdAdd_Click();
    for (auto _ : state) {
        state.PauseTiming();
        auto cn = openForm10Connection();
        cn->BeginTrans();
        for (int page = 1; page <= 5; ++page)
            cn->Execute(QStringLiteral("DELETE FROM tblMPage%1 WHERE cRPFrom IS NOT NULL").arg(page));
        cn->CommitTrans();
        cn.reset();
        state.ResumeTiming();
        f.screen->cmdExport_Click();
    }
    if (!exported())
        state.SkipWithError("the export did not succeed");
    ui::FormRegistry::unloadAll();
}
BENCHMARK(BM_ExportNewReturn)->Unit(benchmark::kMillisecond)->Iterations(50);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
