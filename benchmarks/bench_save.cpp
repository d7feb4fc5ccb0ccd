// Save of a month on the register screen with 1,000 purchase bills and 1,000 sales bills:
// both registers rewritten, read back into the grids, the month summary and the report
// tables rebuilt, all in one transaction. Goal: under 300 ms.
#include "QtBenchmarkMain.h"
#include "databuild/DataBuilder.h"
#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/Form.h"
#include "platform/ui/MsgBox.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kBills = 1000;

// Fills a grid with bills at the rates of its picker, dates spread over the month.
void fillGrid(ui::FlexGrid& grid, const QStringList& rates)
{
    grid.setRows(kBills + 1);
    for (int r = 1; r <= kBills; ++r) {
        const double amount = 100 + r % 97;
        const double tax = amount * 0.04;
        grid.setTextMatrix(r, 0, QString::number(r));
        grid.setTextMatrix(r, 1, QStringLiteral("%1-03-09").arg(1 + r % 28, 2, 10, QLatin1Char('0')));
        grid.setTextMatrix(r, 2, QStringLiteral("Party %1").arg(r));
        grid.setTextMatrix(r, 3, QStringLiteral("TIN%1").arg(r));
        grid.setTextMatrix(r, 4, QStringLiteral("B%1").arg(r));
        grid.setTextMatrix(r, 5, rates.at(r % rates.size()));
        grid.setTextMatrix(r, 6, QString::number(amount, 'f', 2));
        grid.setTextMatrix(r, 7, QString::number(tax, 'f', 2));
        grid.setTextMatrix(r, 8, QStringLiteral("0.00"));
        grid.setTextMatrix(r, 9, QString::number(amount + tax, 'f', 2));
    }
}

struct Fixture {
    QTemporaryDir dir;
    frmNormal* screen = nullptr;

    Fixture()
    {
        QString error;
        if (!databuild::buildProgramFolder(QStringLiteral(LUMORA_DATA_DIR), dir.path(), &error))
            qFatal("program folder: %s", qPrintable(error));
        sys::setProgramFolder(dir.path());
        resetModule2();
        screen = &ui::form<frmNormal>();
        screen->Show();
        QApplication::processEvents();
        fillGrid(*screen->fg1, {QStringLiteral("      0"), QStringLiteral("      4"), QStringLiteral("    12.5")});
        fillGrid(*screen->fg2, {QStringLiteral("      4"), QStringLiteral("     20  "), QStringLiteral("     CST ")});
    }
};

void BM_SaveMonth(benchmark::State& state)
{
    Fixture f;
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
