// The list panel over 20,000 index rows: the word search refilling the list, and one
// keystroke of the type-ahead over the whole list.
#include "LawBenchFolder.h"
#include "QtBenchmarkMain.h"
#include "lawdb/LawDb.h"
#include "lawdb/WordSearch.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MsgBox.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRows = 20000;

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<ui::ListBox> list = std::make_unique<ui::ListBox>(QStringLiteral("List1"));

    Fixture()
    {
        connectLawFolder(dir.path(), QStringLiteral("ActSection"), kRows, [](int i) {
            return QStringLiteral("Section %1 levy of tax on item %2-Section %1").arg(i).arg(i * 7919 % 100000);
        });
        list->show();
    }
};

Fixture& fixture() { return sharedFixture<Fixture>(); }

// The list refilled for the words: three words that keep about a thousand rows, and no words,
// which list every row again.
void BM_WordSearch(benchmark::State& state, const char* words)
{
    Fixture& f = fixture();
    ui::ScopedMsgBoxResponder answers;
    for (auto _ : state) {
        lawdb::procWordSearch(*f.list, QStringLiteral("Keralafields"), QStringLiteral("ActSection"),
                              QString::fromLatin1(words), QStringLiteral("ActSection"));
        benchmark::DoNotOptimize(f.list->ListCount());
    }
    state.counters["entries"] = f.list->ListCount();
}
BENCHMARK_CAPTURE(BM_WordSearch, ThreeWords, "levy item 99")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WordSearch, NoWords, "")->Unit(benchmark::kMillisecond);

// One keystroke of the type-ahead over the whole list, to an entry near its end.
void BM_TypeAhead(benchmark::State& state)
{
    Fixture& f = fixture();
    ui::ScopedMsgBoxResponder answers;
    lawdb::procWordSearch(*f.list, QStringLiteral("Keralafields"), QStringLiteral("ActSection"), QString(),
                          QStringLiteral("ActSection"));
    const lawdb::clsService& service = lawdb::state().Service;
    for (auto _ : state) {
        state.PauseTiming();
        f.list->setListIndex(-1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(service.ListBoxTypingSearch(*f.list, QStringLiteral("section 9999")));
    }
}
BENCHMARK(BM_TypeAhead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv, [] { fixtureSlot<Fixture>().reset(); });
}
