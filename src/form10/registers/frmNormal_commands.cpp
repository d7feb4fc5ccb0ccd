// The register screen's Save, Delete and Close.
//
// Save runs as one transaction: the registers, the month summary and the report tables are
// all written or none is. Its rows are checked first, so a bill date that names no real date
// stops it before anything is deleted; on any failure the stored month stays as it was, the
// grids show what the user had keyed, and one message says which step and row failed.
#include "form10/registers/frmNormal.h"

#include "form10/registers/Module2.h"
#include "form10/registers/RegisterStorage.h"
#include "form10/registers/frmSelect.h"
#include "form10/returns/SaveUnit.h"
#include "platform/db/Error.h"
#include "platform/db/Recordset.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MousePointer.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/TextBox.h"

#include <QStringList>

#include <set>
#include <vector>

namespace {

const QString kSuccessTitle = QStringLiteral("Success...........!");
const QString kSorryTitle = QStringLiteral("Sorry.........!");
constexpr long kUnfocusedColour = 0xC0C0FF;

// What the user had on the screen before a save, put back when the save fails.
struct GridContents {
    int rows = 0;
    int row = 1;
    int col = 1;
    std::vector<QString> cells;
};
struct ScreenContents {
    GridContents purchase, sales;
    QString entryDate, place;
    bool purchaseEdited, salesEdited;
};

GridContents takeGrid(const ui::FlexGrid& grid)
{
    GridContents g;
    g.rows = grid.Rows();
    g.row = grid.Row();
    g.col = grid.Col();
    g.cells.reserve(static_cast<size_t>(g.rows) * grid.Cols());
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            g.cells.push_back(grid.TextMatrix(r, c));
    return g;
}

void putGrid(ui::FlexGrid& grid, ui::TextBox& editor, const GridContents& g)
{
    // The current cell moves first: moving writes the editor's text into the cell it
    // leaves, and every cell is written afterwards.
    grid.setRows(g.rows);
    if (g.row < grid.Rows())
        grid.setRow(g.row);
    if (g.col < grid.Cols())
        grid.setCol(g.col);
    size_t i = 0;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            grid.setTextMatrix(r, c, g.cells[i++]);
    editor.setText(grid.Text());
}

ScreenContents takeScreen(const frmNormal& f)
{
    return {takeGrid(*f.fg1), takeGrid(*f.fg2), f.txtDate->Text(), f.txtPlace->Text(), f.fg1Edited, f.fg2Edited};
}

void putScreen(frmNormal& f, const ScreenContents& s)
{
    putGrid(*f.fg1, *f.txtGrid1, s.purchase);
    putGrid(*f.fg2, *f.txtGrid2, s.sales);
    f.procMoveTextBox();
    f.procMoveTextBox2();
    f.fg1Edited = s.purchaseEdited;   // still not saved
    f.fg2Edited = s.salesEdited;
    f.txtDate->setText(s.entryDate);
    f.txtPlace->setText(s.place);
    f.procTotalCal1();
    f.procTotalCal2();
}

QString describeStep(const QString& step)
{
    static const std::pair<const char*, const char*> names[] = {
        {"procLoadKey", "preparing the report key rows"},
        {"procWritePurchase", "writing the local purchase register"},
        {"procReadPurchase", "reading back the local purchase register"},
        {"procWritePurchaseInterState", "writing the inter-state purchase register"},
        {"procReadPurchaseInterState", "reading back the inter-state purchase register"},
        {"procLoadRptPurchase", "copying the local purchase bills for the report"},
        {"procRptPurchaseInterState", "copying the inter-state purchase bills for the report"},
        {"procLoadRptPurchaseC", "filling the purchase summary report row"},
        {"procLoadRptPurchaseInterStateC", "filling the inter-state purchase summary report row"},
        {"procWriteSales", "writing the sales register"},
        {"procReadSales_1", "reading back the sales register"},
        {"procWriteCommon", "writing the month summary"},
        {"procLoadRptSalesC", "filling the sales summary report row"},
        {"procLoadRptSales", "copying the sales bills for the report"},
    };
    for (const auto& [proc, text] : names)
        if (step == QLatin1String(proc))
            return QLatin1String(text);
    if (step.startsWith(QLatin1String("procDeleteDealerRows")))
        return QStringLiteral("clearing the dealer's rows of the report table ")
               + step.mid(step.indexOf(QLatin1Char(' ')) + 1);
    return step;
}

QString failureMessage(const f10::SaveFailure& f)
{
    return f10::unitFailureMessage(
        f, QStringLiteral("The month was not saved.\n\nThe save stopped while "), describeStep,
        QStringLiteral("The stored registers, month summary and report tables are as they were before Save."));
}

// "2008", "2008 and 2009", "2007, 2008 and 2009".
QString yearsText(const std::set<int>& years)
{
    QStringList texts;
    for (const int year : years)
        texts << QString::number(year);
    const QString last = texts.takeLast();
    return texts.isEmpty() ? last : texts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

// The registers keep one year for each month: a save over bills of another year replaces
// them, so it asks first. Whether the save may go on.
bool replacingAnotherYearConfirmed(frmNormal& f, bool local)
{
    f10::YearClash clash;
    try {
        clash = f10::findYearClash(f, local ? QStringLiteral("tblPurchase1") : QStringLiteral("tblPurchaseInterState1"));
    } catch (const ado::Error&) {
        return true;   // a register that cannot be read fails the save itself, with its message
    }
    if (!clash.any())
        return true;
    const QString month = f10::monthKey(f);
    const QString stored = yearsText(clash.stored);
    return ui::MsgBox(QStringLiteral("%1 already holds bills of %2.\r\nThe bills being saved are of %3.\r\n\r\n"
                                     "The registers keep one year for each month: saving replaces the %1 bills "
                                     "of %2 with these. Back up the data files first to keep them.\r\n\r\n"
                                     "Replace the %1 bills of %2?")
                          .arg(month, stored, yearsText(clash.saving)),
                      ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2, QStringLiteral("Bills of another year"))
           == ui::vbYes;
}

// Save: the registers written and read back, the month summary, the report tables.
void runSave(frmNormal& f, const QString& successMessage, bool byClick)
{
    // Text still in an editor counts as keyed: a figure that is no amount stops the save
    // before anything is written, the editor left on it.
    const f10::BadAmount badAmount = f10::findBadAmount(f);
    if (!badAmount.grid.isEmpty()) {
        ui::MsgBox(f10::refusedAmountMessage(badAmount.text, badAmount.why, badAmount.grid, badAmount.row,
                                             badAmount.column)
                       + QStringLiteral("\r\n\r\nNothing was saved."),
                   ui::vbExclamation, kSorryTitle);
        if (badAmount.inEditor)
            (badAmount.which == f10::Grid::Purchase ? f.txtGrid1 : f.txtGrid2)->setFocus(Qt::OtherFocusReason);
        return;
    }
    f.commitCellEditors();

    const f10::BadBillDate bad = f10::findBadBillDate(f);
    if (!bad.grid.isEmpty()) {
        ui::MsgBox(QStringLiteral("The bill date \"%1\" in row %2 of the %3 grid is not a real date written "
                                  "dd-mm-yy (for example 26-09-08).\nNothing was saved.")
                       .arg(bad.text)
                       .arg(bad.row)
                       .arg(bad.grid),
                   ui::vbExclamation, kSorryTitle);
        return;
    }

    const bool local = f.List4->ListIndex() == 0;
    if (!replacingAnotherYearConfirmed(f, local))
        return;
    const ScreenContents before = takeScreen(f);
    f10::SaveFailure failure;
    {
        ui::HourglassGuard hourglass;
        // The first failure of the save, or the failure to begin it.
        failure = f10::runAsOneUnit([&](f10::SaveUnit& save) {
            auto step = [&](const QString& name, const std::function<void()>& work) {
                save.step(name);
                work();
            };
            // The report tables keep every dealer's last save: only this dealer's rows go.
            auto emptyTable = [&](const QString& table) {
                step(QStringLiteral("procDeleteDealerRows ") + table, [&] { procDeleteDealerRows(table); });
            };
            step(QStringLiteral("procLoadKey"), [&] { f.procLoadKey(); });
            if (local) {
                step(QStringLiteral("procWritePurchase"), [&] { f.procWritePurchase(); });
                step(QStringLiteral("procReadPurchase"), [&] { f.procReadPurchase(); });
                emptyTable(QStringLiteral("tblRptPurchase1"));
                step(QStringLiteral("procLoadRptPurchase"), [&] { f.procLoadRptPurchase(); });
                emptyTable(QStringLiteral("tblRptPurchaseC"));
                step(QStringLiteral("procLoadRptPurchaseC"), [&] { f.procLoadRptPurchaseC(); });
                // The report tables describe this save: no inter-state bills of an earlier
                // one under a summary row this save leaves bare.
                emptyTable(QStringLiteral("tblRptPurchaseInterState"));
            } else {
                step(QStringLiteral("procWritePurchaseInterState"), [&] { f.procWritePurchaseInterState(); });
                step(QStringLiteral("procReadPurchaseInterState"), [&] { f.procReadPurchaseInterState(); });
                emptyTable(QStringLiteral("tblRptPurchaseInterState"));
                step(QStringLiteral("procRptPurchaseInterState"), [&] { f.procRptPurchaseInterState(); });
                emptyTable(QStringLiteral("tblRptPurchaseInterStateC"));
                step(QStringLiteral("procLoadRptPurchaseInterStateC"), [&] { f.procLoadRptPurchaseInterStateC(); });
                emptyTable(QStringLiteral("tblRptPurchase1"));
            }
            step(QStringLiteral("procWriteSales"), [&] { f.procWriteSales(); });
            step(QStringLiteral("procReadSales_1"), [&] { f.procReadSales_1(); });
            step(QStringLiteral("procWriteCommon"), [&] { f.procWriteCommon(); });
            emptyTable(QStringLiteral("tblRptSales"));
            step(QStringLiteral("procLoadRptSalesC"), [&] { f.procLoadRptSalesC(); });
            emptyTable(QStringLiteral("tblRptSales1"));
            step(QStringLiteral("procLoadRptSales"), [&] { f.procLoadRptSales(); });
            // The summary tables were emptied above after their key rows went in: key them
            // again and fill them from the month summary, before the success is reported.
            step(QStringLiteral("procLoadKey"), [&] { f.procLoadKey(); });
            if (local)
                step(QStringLiteral("procLoadRptPurchaseC"), [&] { f.procLoadRptPurchaseC(); });
            else
                step(QStringLiteral("procLoadRptPurchaseInterStateC"), [&] { f.procLoadRptPurchaseInterStateC(); });
            step(QStringLiteral("procLoadRptSalesC"), [&] { f.procLoadRptSalesC(); });
        });
    }

    if (failure.any()) {
        putScreen(f, before);
        ui::MsgBox(failureMessage(failure), ui::vbCritical, kSorryTitle);
        return;
    }

    ui::MsgBox(successMessage, ui::vbInformation, kSuccessTitle);
    if (byClick) {
        f.cmdExport->setEnabled(true);
        f.cmdDelete->setEnabled(true);
        f.cmdAdd->setBackColor(kUnfocusedColour);
    }
}

// The keyed delete of one register, run on the connection the existence test opened.
void deleteMonthRows(frmNormal& f, const QString& head)
{
    auto& m = Module2();
    if (m.WriteRecordset->State() == ado::adStateOpen)
        m.WriteRecordset->Close();
    m.SqlText = f10::keyedStatement(f, head);
    m.WriteRecordset->Open(m.SqlText, m.Form10Connection, ado::adOpenForwardOnly, ado::adLockOptimistic);
    m.Form10Connection->Execute(m.SqlText);
}

void runDelete(frmNormal& f, bool byClick)
{
    f.commitCellEditors();
    // By Enter the "not exists" messages come without an icon, under the program's title.
    const int absentStyle = byClick ? ui::vbInformation : ui::vbOKOnly;
    const QString absentTitle = byClick ? kSorryTitle : QString();
    const bool local = f.List4->ListIndex() == 0;
    try {
        const QString table = local ? QStringLiteral("tblPurchase1") : QStringLiteral("tblPurchaseInterState1");
        if (!f.fnRecordExistsNormal(table)) {
            ui::MsgBox(local ? QStringLiteral(" Record Not exists  of Local Purchase")
                             : QStringLiteral(" Record Not exists  of InterState Purchase"),
                       absentStyle, absentTitle);
        } else if (ui::MsgBox(QStringLiteral(" Are you Sure "), ui::vbYesNo + ui::vbQuestion,
                              local ? QStringLiteral("Delete Local Purchase Records ")
                                    : QStringLiteral("Delete Interstate Purchase Records "))
                   == ui::vbYes) {
            deleteMonthRows(f, local ? QStringLiteral("DELETE * FROM  tblPurchase1 ")
                                     : QStringLiteral("DELETE * FROM  tblPurchaseInterState1"));
            f.fg1->Clear();
            f.txtGrid1->setText(QString());
            f.procSetGrid();
            f.procMoveTextBox();   // the rows it stood over are gone
            f.fg1Edited = false;
            f.procTotalCal1();   // no stale totals for a later export
        }

        if (f.fnRecordExistsNormal(QStringLiteral("tblSales"))) {
            if (ui::MsgBox(QStringLiteral(" Are you Sure "), ui::vbYesNo + ui::vbQuestion,
                           QStringLiteral("Delete Sales Records "))
                == ui::vbYes) {
                deleteMonthRows(f, QStringLiteral("DELETE * FROM  tblSales"));
                f.fg2->Clear();
                f.txtGrid2->setText(QString());
                f.procSetGrid2();
                f.procMoveTextBox2();
                f.fg2Edited = false;
                f.procTotalCal2();
            }
        } else {
            ui::MsgBox(QStringLiteral(" Record Not exists  of Local Sales"), absentStyle, absentTitle);
        }
    } catch (const ado::Error& e) {
        ui::MsgBox(QStringLiteral("The records could not be deleted:\n") + e.Description() + QStringLiteral(" | No: ")
                       + QString::number(e.Number()),
                   ui::vbCritical, kSorryTitle);
    }
}

} // namespace

void frmNormal::cmdAdd_Click()
{
    runSave(*this, QStringLiteral("RECORD ADDED  SUCCESSFULLY"), true);
}

void frmNormal::cmdAdd_KeyPress(int& keyAscii)
{
    if (keyAscii == 13) {
        keyAscii = 0;   // the Enter twin does the work: the button is not clicked as well
        runSave(*this, QStringLiteral("FILE  UPDATED  SUCCESSFULLY"), false);
    }
}

void frmNormal::cmdDelete_Click()
{
    runDelete(*this, true);
}

void frmNormal::cmdDelete_KeyPress(int& keyAscii)
{
    if (keyAscii == 13) {
        keyAscii = 0;
        runDelete(*this, false);
    }
}

void frmNormal::cmdClose_Click()
{
    if (!fnConfirmDiscard(QStringLiteral("close the register screen")))
        return;
    Unload();
    ui::form<frmSelect>().Show();
}

void frmNormal::cmdClose_KeyPress(int& keyAscii)
{
    if (keyAscii == 13) {
        keyAscii = 0;
        cmdClose_Click();
    }
}
