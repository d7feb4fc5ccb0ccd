// Save of a month on the register screen with 1,000 purchase bills and 1,000 sales bills:
// both registers rewritten, read back into the grids, the month summary and the report
// tables rebuilt, all in one transaction. Goal: under 300 ms.
#include "QtBenchmarkMain.h"
#include "RegisterScreenBench.h"
#include "platform/ui/forms/MsgBox.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SaveMonth(benchmark::State& state)
{
    RegisterScreenFixture f;
    ui::ScopedMsgBoxResponder answers;
    for (auto _ : state) {
        f.screen->cmdAdd_Click();
        benchmark::DoNotOptimize(f.screen->fg1->Rows());
    }
    if (f.screen->fg1->Rows() != kBills + 1 || f.screen->fg2->Rows() != kBills + 1)
        state.SkipWithError("the grids did not read back every bill");
    state.counters["bills"] = 2 * kBills;
    ui::FormRegistry::unloadAll();
}
BENCHMARK(BM_SaveMonth)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
