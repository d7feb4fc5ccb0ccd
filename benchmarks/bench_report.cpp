// The purchase report of a month with 1,000 bills: the template read, the report tables read
// through the database layer and the report laid out on its pages, as Print does before the
// preview shows. Goal: under 150 ms. Also the PDF export of the same report, for reference.
#include "QtBenchmarkMain.h"
#include "databuild/DataBuilder.h"
#include "platform/db/Connection.h"
#include "platform/db/StatementText.h"
#include "platform/ui/reports/ReportData.h"
#include "platform/ui/reports/ReportLayout.h"
#include "platform/ui/reports/ReportPreview.h"
#include "platform/ui/reports/ReportTemplate.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBills = 1000;

struct Fixture {
    QTemporaryDir dir;
    QString data, templ;

    Fixture()
    {
        QString error;
        if (!databuild::buildProgramFolder(QStringLiteral(LUMORA_DATA_DIR), dir.path(), &error))
            qFatal("program folder: %s", qPrintable(error));
        data = dir.filePath(QStringLiteral("nwForm10DB.mdb"));
        templ = dir.filePath(QStringLiteral("RptPurchase.rpt"));
        ado::Connection cn;
        cn.Open(ado::accessConnectString(data));
        cn.BeginTrans();
        cn.Execute(QStringLiteral("INSERT INTO tblRptPurchaseC (cCode, cMonth, cAddress, Place, eDate, PTA4, PTT4, PTC4,"
                                  " PRT4, PCTAmt, PCTTax, PCTCess, PCTTotal) VALUES ('', 'March', 'Sree Traders',"
                                  " 'Thrissur', '31-03-09', 1, 2, 3, 6, 1, 2, 3, 6)"));
        for (int r = 1; r <= kBills; ++r) {
            const double amount = 100 + r % 97;
            cn.Execute(QStringLiteral("INSERT INTO tblRptPurchase1 (SlNo, BillDate, Party, TIN, BillNo, RateOfTax, Amount,"
                                      " Tax, Cess, NetAmount, cMonth, cAddress, eDate, Place, cCode) VALUES ('%1',"
                                      " '%2-03-09', 'Party %1 Traders', '3207%1', 'B%1', '      4', %3, %4, 0, %5,"
                                      " 'March', 'Sree Traders', '31-03-09', 'Thrissur', '')")
                           .arg(r)
                           .arg(1 + r % 28, 2, 10, QLatin1Char('0'))
                           .arg(amount)
                           .arg(amount * 0.04)
                           .arg(amount * 1.04));
        }
        cn.CommitTrans();
    }
};

void BM_PurchaseReportLayout(benchmark::State& state)
{
    Fixture f;
    int pages = 0;
    for (auto _ : state) {
        const ui::ReportTemplate t = ui::readReportTemplate(f.templ);
        const ui::ReportData d = ui::readReportData(t, f.templ, f.data);
        const ui::ReportLayout l = ui::layoutReport(t, d);
        pages = int(l.pages.size());
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PurchaseReportLayout)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PurchaseReportPdf(benchmark::State& state)
{
    Fixture f;
    const ui::ReportTemplate t = ui::readReportTemplate(f.templ);
    ui::ReportPreview preview(nullptr);
    preview.setReport(t, ui::readReportData(t, f.templ, f.data));
    const QString pdf = f.dir.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state) {
        QString error;
        if (!preview.writePdf(pdf, &error))
            state.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(BM_PurchaseReportPdf)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
