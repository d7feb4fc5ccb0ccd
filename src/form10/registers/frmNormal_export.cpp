// The register screen's Export: the month's totals into the Form 10 page tables.
//
// The month is asked for once, before anything is written. The exports then run as one
// unit of work over the shared handle, as Save does: either every page row of the Export
// is written, or none is and one message names the export that failed.
#include "form10/registers/frmNormal.h"

#include "form10/returns/PageExports.h"
#include "form10/returns/SaveUnit.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"

namespace {

constexpr long kWorking = 0xC0FFFF;   // pale yellow while the exports run
constexpr long kAtRest = 0xC0C0FF;    // pale red

QString failureMessage(const f10::SaveFailure& f)
{
    return f10::unitFailureMessage(
        f, QStringLiteral("The month was not exported.\n\nThe export stopped while "),
        [](const QString& step) { return QStringLiteral("writing ") + f10::exportDescription(step); },
        QStringLiteral("The Form 10 page tables are as they were before Export."));
}

void runExport(frmNormal& f)
{
    f.cmdExport->setBackColor(kWorking);
    if (f10::returnPeriodMissing(f)) {
        f.cmdExport->setBackColor(kAtRest);
        return;
    }

    const bool local = f.List4->ListIndex() == 0;
    f10::SaveFailure failure;
    {
        ui::HourglassGuard hourglass;
        failure = f10::runAsOneUnit([&](f10::SaveUnit& unit) {
            auto step = [&](const char* name, void (frmNormal::*exportProc)()) {
                unit.step(QLatin1String(name));
                (f.*exportProc)();
            };
            if (local) {
                step("procExportPurchaseLocal", &frmNormal::procExportPurchaseLocal);
                step("procExportSalesLocal", &frmNormal::procExportSalesLocal);
            } else {
                step("procExportPurchaseInterState", &frmNormal::procExportPurchaseInterState);
            }
            step("procExportSales", &frmNormal::procExportSales);
        });
    }

    if (failure.any())
        ui::MsgBox(failureMessage(failure), ui::vbCritical, QStringLiteral("Sorry.........!"));
    else
        ui::MsgBox(QStringLiteral("  EXPORTED  SUCCESSFULLY"), ui::vbInformation, QStringLiteral("Success...........!"));
    f.cmdExport->setBackColor(kAtRest);
}

} // namespace

void frmNormal::cmdExport_Click()
{
    runExport(*this);
}

void frmNormal::cmdExport_KeyPress(int& keyAscii)
{
    if (keyAscii == 13) {
        keyAscii = 0;   // the Enter twin does the work: the button is not clicked as well
        runExport(*this);
    }
}
