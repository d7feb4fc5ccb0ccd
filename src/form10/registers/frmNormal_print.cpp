// The register screen's two Print buttons: the purchase register (local or inter-state, as
// List4 shows) and the sales register, printed by the report control from the report tables
// the last save staged. Print writes nothing.
//
// A report that cannot be shown (its template missing or malformed, a table or column it names
// missing, the database locked) is one message naming the file and the problem; the pointer
// is back to normal before it shows, and the screen goes on.
#include "form10/registers/frmNormal.h"

#include "platform/db/Error.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/reports/CrystalReport.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"

#include <QDir>

namespace {

QString failureText(const QString& file, int line, const QString& problem)
{
    QString text = QStringLiteral("The report could not be shown.\n\n");
    if (!file.isEmpty())
        text += QDir::toNativeSeparators(file) + QLatin1Char('\n');
    if (line > 0)
        text += QStringLiteral("Line %1: ").arg(line);
    return text + problem;
}

void printReport(frmNormal& f, const QString& reportFile)
{
    QString failure;
    {
        const QString folder = sys::programFolder();
        ui::HourglassGuard hourglass;
        try {
            f.CrystalReport1->setDataFiles(0, folder + QStringLiteral("\\nwForm10DB.mdb"));
            f.CrystalReport1->setReportFileName(folder + reportFile);
            f.CrystalReport1->setWindowState(2);
            f.CrystalReport1->setAction(1);
        } catch (const ui::ReportError& e) {
            failure = failureText(e.file(), e.line(), e.problem());
        } catch (const ado::Error& e) {
            failure = failureText(QString(), 0, e.Description());
        } catch (const std::exception& e) {
            failure = failureText(QString(), 0, QString::fromLocal8Bit(e.what()));
        }
    }
    if (!failure.isEmpty())
        ui::MsgBox(failure, ui::vbCritical, QStringLiteral("Sorry.........!"));
}

} // namespace

void frmNormal::buildPrintCommands()
{
    CrystalReport1 = new ui::CrystalReport(QStringLiteral("CrystalReport1"), this);
    connect(cmdPrint1, &ui::CommandButton::Click, this, [this] { cmdPrint1_Click(); });
    connect(Command2, &ui::CommandButton::Click, this, [this] { Command2_Click(); });
}

void frmNormal::cmdPrint1_Click()
{
    printReport(*this, List4->ListIndex() == 0 ? QStringLiteral("\\RptPurchase.rpt")
                                               : QStringLiteral("\\RptPurchaseInterState.rpt"));
}

void frmNormal::Command2_Click()
{
    printReport(*this, QStringLiteral("\\RptSales.rpt"));
}
