// The start-up's database work on the sample data: open the three law databases and list
// the tables of each into its catalogue. Goal: well under 100 ms.
#include "TestProgramFolder.h"
#include "lawdb/LawDb.h"

#include <benchmark/benchmark.h>

static void BM_ConnectLawDatabases(benchmark::State& st)
{
    TestProgramFolder folder;
    for (auto _ : st) {
        lawdb::resetState();   // releases the connections, so each round opens the files afresh
        lawdb::procConnectLawDBs();
        benchmark::DoNotOptimize(lawdb::state().TableCatalog3->Count());
    }
    lawdb::resetState();
}
BENCHMARK(BM_ConnectLawDatabases)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
