// The register screen's two Print buttons: the purchase register (local or inter-state, as
// List4 shows) and the sales register, printed by the report control from the report tables
// the dealer's last save staged. Print writes nothing.
//
// The report tables hold the last save of every dealer; the report reads the rows of the
// dealer on the screen only, and a dealer with none (no save yet) is told so, so that one
// dealer's register is never printed for another.
//
// A report that cannot be shown (its template missing or malformed, a table or column it names
// missing, the database locked) is one message naming the file and the problem; the pointer
// is back to normal before it shows, and the screen goes on.
#include "form10/registers/frmNormal.h"

#include "form10/registers/Module2.h"
#include "form10/registers/RegisterStorage.h"
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

// Whether a save of the dealer on the screen staged the report whose key rows are in `keyTable`.
bool savedForDealer(const QString& keyTable)
{
    auto& m = Module2();
    procOpenForm10DB();
    m.SqlText = QStringLiteral("SELECT cCode FROM ") + keyTable + QStringLiteral(" WHERE cCode='") + f10::dealerKey()
                + QStringLiteral("'");
    m.ReadRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenForwardOnly, ado::adLockReadOnly);
    const bool saved = !m.ReadRecordset->Eof();
    m.ReadRecordset->Close();
    return saved;
}

void printReport(frmNormal& f, const QString& reportFile, const QString& keyTable)
{
    QString failure;
    bool nothingSaved = false;
    {
        const QString folder = sys::programFolder();
        const QString dataFile = folder + QStringLiteral("\\nwForm10DB.mdb");
        ui::HourglassGuard hourglass;
        try {
            nothingSaved = !savedForDealer(keyTable);
            if (!nothingSaved) {
                f.CrystalReport1->setDataFiles(0, dataFile);
                f.CrystalReport1->setReportFileName(folder + reportFile);
                f.CrystalReport1->setSelection(QStringLiteral("cCode"), Module2().DealerCode);
                f.CrystalReport1->setWindowState(2);
                f.CrystalReport1->setAction(1);
            }
        } catch (const ui::ReportError& e) {
            failure = failureText(e.file(), e.line(), e.problem());
        } catch (const ado::Error& e) {
            failure = failureText(sys::localPath(dataFile), 0, e.Description());
        } catch (const std::exception& e) {
            failure = failureText(QString(), 0, QString::fromLocal8Bit(e.what()));
        }
    }
    if (!failure.isEmpty())
        ui::MsgBox(failure, ui::vbCritical, QStringLiteral("Sorry.........!"));
    else if (nothingSaved)
        ui::MsgBox(QStringLiteral("Nothing has been saved for this dealer yet, so there is no register to print.\n\n"
                                  "Save a month on this screen first: PRINT shows the month this dealer saved last."),
                   ui::vbInformation, QStringLiteral("Sorry.........!"));
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
    if (List4->ListIndex() == 0)
        printReport(*this, QStringLiteral("\\RptPurchase.rpt"), QStringLiteral("tblRptPurchaseC"));
    else
        printReport(*this, QStringLiteral("\\RptPurchaseInterState.rpt"), QStringLiteral("tblRptPurchaseInterStateC"));
}

void frmNormal::Command2_Click()
{
    printReport(*this, QStringLiteral("\\RptSales.rpt"), QStringLiteral("tblRptSales"));
}
