// Back Up and Restore of the three data files, nwForm10DB.mdb holding 20,000 register bills:
// the checks, the consistent copies, the plan, the renames and the checks of the copies in
// place. Goal: under one second, as the user waits under the hourglass.
#include "databuild/DataBuilder.h"
#include "form10/registers/BackUpCopies.h"
#include "platform/sys/FileSystem.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kBills = 20000;

struct Folders {
    QTemporaryDir program;
    QTemporaryDir drive;

    Folders()
    {
        QString error;
        if (!databuild::buildProgramFolder(QStringLiteral(LUMORA_DATA_DIR), program.path(), &error))
            qFatal("program folder: %s", qPrintable(error));
        sqlite3* db = nullptr;
        sqlite3_open((program.path() + "/nwForm10DB.mdb").toUtf8().constData(), &db);
        char* failure = nullptr;
        sqlite3_exec(db,
                     "BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
                     "INSERT INTO tblPurchase1 (SlNo, BillDate, Party, TIN, BillNo, RateOfTax, Amount, Tax, Cess, "
                     "NetAmount, cMonth, cAddress, eDate, Place, cCode) SELECT i, '2009-03-01', 'Party ' || i, "
                     "'TIN' || i, 'B' || i, '4', '100.00', '4.00', '0.00', '104.00', 'March', 'Dealer', "
                     "'01-03-09', 'Kochi', '' FROM n; COMMIT;",
                     nullptr, nullptr, &failure);
        sqlite3_close(db);
        if (failure)
            qFatal("bills: %s", failure);
        QDir(drive.path()).mkdir("Lumora1BackUp");
        static_assert(kBills == 20000, "the statement above writes 20,000 bills");
    }
    QString backUpFolder() const { return drive.path() + "/Lumora1BackUp"; }
};

void BM_CopyDataFiles(benchmark::State& state)
{
    Folders folders;
    const sys::FileSystemObject fso;
    const bool backUp = state.range(0) == 1;
    if (!backUp)
        backUpDataFiles(fso, folders.program.path(), folders.backUpFolder());
    for (auto _ : state) {
        if (backUp)
            backUpDataFiles(fso, folders.program.path(), folders.backUpFolder());
        else
            restoreDataFiles(fso, folders.backUpFolder(), folders.program.path());
    }
}
BENCHMARK(BM_CopyDataFiles)->ArgName("backUp")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
