// The register screen ("Form No. 52"): for one dealer and one month, the purchase register
// in fg1 and the sales register in fg2, keyed through a floating cell editor over each grid,
// with rate pickers, per-rate totals under each grid and the month list.
//
// Controls are public members named as the system names them (and carry those names as
// objectName); the procedures are public so that the storage, summary and export code can
// call them as the screen's interface. Files:
//   frmNormal.cpp           window, load, activation, month list, List4, button colours
//   frmNormal_grid.cpp      grid layout, cell editor, keys, pickers, rows
//   frmNormal_totals.cpp    per-rate totals
//   frmNormal_commands.cpp  Save, Delete, Close (register storage owner)
//   frmNormal_export.cpp    Export (the page exports are in form10/returns/PageExports.cpp)
//   frmNormal_print.cpp     the two Print buttons and the report control
//   frmNormal_dealer.cpp    a change of dealer while the screen is open
//   RegisterStorage.cpp     register readers and writers (register storage owner)
#pragma once

#include "platform/ui/forms/Form.h"

#include <QString>

class QLabel;
namespace ui {
class FlexGrid;
class TextBox;
class ListBox;
class CommandButton;
class CrystalReport;
}

class frmNormal : public ui::Form {
    Q_OBJECT
public:
    frmNormal();
    ~frmNormal() override;

    // ---- controls -------------------------------------------------------------------
    ui::FlexGrid* fg1 = nullptr;         // purchase register (local or inter-state, per List4)
    ui::FlexGrid* fg2 = nullptr;         // sales register
    ui::TextBox* txtGrid1 = nullptr;     // cell editor of fg1
    ui::TextBox* txtGrid2 = nullptr;     // cell editor of fg2

    ui::TextBox* txtRPTo = nullptr;      // the month key ("January" .. "December")
    ui::TextBox* txtMonth = nullptr;     // mirror of txtRPTo
    ui::TextBox* txtDate = nullptr;      // entry date "dd-mm-yy"
    ui::TextBox* txtPlace = nullptr;
    ui::TextBox* txtTotal = nullptr;     // grand total of fg1
    ui::TextBox* txtTotal2 = nullptr;    // grand total of fg2

    ui::ListBox* List1 = nullptr;        // month list
    ui::ListBox* List2 = nullptr;        // purchase rate picker
    ui::ListBox* List3 = nullptr;        // sales rate picker
    ui::ListBox* List4 = nullptr;        // 0 "Local Purchase", 1 "Inter State Purchase"

    QLabel* lblCustomerName = nullptr;

    // Purchase totals: amount, tax, cess per rate 0, 1, 4, 12.5, 20.
    QLabel* Label12 = nullptr; QLabel* Label13 = nullptr; QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr; QLabel* Label10 = nullptr;
    QLabel* Label16 = nullptr; QLabel* Label17 = nullptr; QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr; QLabel* Label34 = nullptr;
    QLabel* Label58 = nullptr; QLabel* Label57 = nullptr; QLabel* Label56 = nullptr;
    QLabel* Label62 = nullptr; QLabel* Label61 = nullptr;
    // Sales totals: amount, tax, cess per rate 0, 1, 4, 12.5, CST, 20.
    QLabel* Label23 = nullptr; QLabel* Label22 = nullptr; QLabel* Label21 = nullptr;
    QLabel* Label20 = nullptr; QLabel* Label35 = nullptr; QLabel* Label45 = nullptr;
    QLabel* Label27 = nullptr; QLabel* Label26 = nullptr; QLabel* Label25 = nullptr;
    QLabel* Label24 = nullptr; QLabel* Label36 = nullptr; QLabel* Label44 = nullptr;
    QLabel* Label50 = nullptr; QLabel* Label49 = nullptr; QLabel* Label48 = nullptr;
    QLabel* Label54 = nullptr; QLabel* Label53 = nullptr; QLabel* Label52 = nullptr;

    ui::CommandButton* cmdAdd = nullptr;      // "&Add" (Save)
    ui::CommandButton* cmdDelete = nullptr;   // "&Delete"
    ui::CommandButton* cmdExport = nullptr;   // "E&xport"
    ui::CommandButton* cmdClose = nullptr;    // "C&lose"
    ui::CommandButton* cmdPrint1 = nullptr;   // "PRINT" (purchase report)
    ui::CommandButton* Command2 = nullptr;    // "PRINT" (sales report)
    ui::CrystalReport* CrystalReport1 = nullptr;   // prints the report tables

    // Set by procRecExists: the register last tested holds rows for the dealer and month.
    bool RecordExists = false;
    // The grid holds edits not yet saved (a cell's text changed, or text typed into its
    // editor). Cleared by Save, Delete and each read of the grid; while either is set,
    // activation does not read the registers over them.
    bool fg1Edited = false;
    bool fg2Edited = false;

    // ---- window, month list, register switch (frmNormal.cpp) --------------------------
    void txtRPTo_GotFocus();
    void txtRPTo_Change();
    void List1_KeyDown(int& keyCode, int shift);
    void List1_KeyUp(int& keyCode, int shift);
    void List1_KeyPress(int& keyAscii);
    void List1_DblClick();
    void List1_LostFocus();
    void List4_Click();
    // Reads into fg1 the purchase register that List4 names.
    void procReadPurchaseShown();
    // Asks before rows keyed and not saved are thrown away: `action` is what is about to happen,
    // as it ends "If you ... now" ("close the register screen", "show April"); with
    // `salesGridToo` false only the purchase grid's rows are at stake. True when nothing
    // unsaved is at stake or the user answers Yes (go on); false on No (leave everything as it is).
    bool fnConfirmDiscard(const QString& action, bool salesGridToo = true);
    // The same question of the register screen when it is open, for the roads that would end
    // it from outside (leaving the Form 10 tool, ending the program); true when it is not open.
    static bool fnConfirmDiscardIfOpen(const QString& action);

    void cmdAdd_GotFocus();
    void cmdAdd_LostFocus();
    void cmdDelete_GotFocus();
    void cmdDelete_LostFocus();
    void cmdExport_GotFocus();
    void cmdExport_LostFocus();
    void cmdClose_GotFocus();
    void cmdClose_LostFocus();
    void Command2_GotFocus();
    void Command2_LostFocus();

    // ---- grids and cell editor (frmNormal_grid.cpp) -----------------------------------
    void procSetGrid();
    void procSetGrid2();
    void procMoveTextBox();
    void procMoveTextBox2();
    void procGridCreateRow();                    // append a numbered row to fg1
    void procGridCreateRow2();                   // the same on fg2
    void procCreateGridRow();                    // the same on fg2
    void procNewGridCreateRow(ui::FlexGrid& grid);
    void procMoveColumn1(ui::FlexGrid& grid);
    void fnDeleteRow(short row);                 // on fg1
    void fnDeleteRow2(short row);                // on fg2
    void procClear1();                           // empties every cell of fg1 and txtGrid1

    void fg1_EnterCell();
    void fg1_LeaveCell();
    void fg2_EnterCell();
    void fg2_LeaveCell();
    void txtGrid1_GotFocus();
    void txtGrid2_GotFocus();
    void txtGrid1_KeyDown(int& keyCode, int shift);
    void txtGrid2_KeyDown(int& keyCode, int shift);
    void txtGrid1_KeyPress(int& keyAscii);
    void txtGrid2_KeyPress(int& keyAscii);
    void List2_KeyPress(int& keyAscii);
    void List3_KeyPress(int& keyAscii);

    // Writes text typed into the cell editors, and not yet into their cells, there as leaving
    // the cells would (for commands that read the grids). An editor that shows its cell's own
    // text has nothing to write: leaving it would give a row stored without amounts 0.00.
    void commitCellEditors();

    // ---- per-rate totals (frmNormal_totals.cpp) ---------------------------------------
    void procTotalCal1();
    void procTotalCal2();

    // ---- register storage (RegisterStorage.cpp, by the storage owner) -----------------
    void procRecExists(const QString& tableName);
    bool fnRecordExistsNormal(const QString& tableName);
    void procReadPurchase();
    void procReadPurchaseInterState();
    void procReadSales_1();
    void procReadSales();
    void procWritePurchase();
    void procWritePurchaseInterState();
    void procWriteSales();

    // ---- commands (frmNormal_commands.cpp, by the storage owner) ----------------------
    void cmdAdd_Click();
    void cmdAdd_KeyPress(int& keyAscii);
    void cmdDelete_Click();
    void cmdDelete_KeyPress(int& keyAscii);
    void cmdClose_Click();
    void cmdClose_KeyPress(int& keyAscii);
    // Export (frmNormal_export.cpp).
    void cmdExport_Click();
    void cmdExport_KeyPress(int& keyAscii);
    // The two Print buttons (frmNormal_print.cpp).
    void cmdPrint1_Click();
    void Command2_Click();

    // ---- change of dealer (frmNormal_dealer.cpp) --------------------------------------
    // The dealer values changed: the dealer's name, and the registers of the month on view.
    void procDealerChanged();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectGridEvents();
    void buildPrintCommands();   // frmNormal_print.cpp
    // One implementation serves both grids; the twins pass what differs (1 purchase, 2 sales).
    struct GridSide;
    GridSide side(int which) const;
    void setGridLayout(ui::FlexGrid& grid);
    void moveTextBox(ui::FlexGrid& grid, ui::TextBox& editor);
    void followCurrentCell(int which);
    void totals(int which);
    void dressEditor(int which);
    void enterCell(int which);
    void leaveCell(int which);
    void setCellText(int which, const QString& text);   // the current cell; marks an edit
    void markEdited(int which);
    void editorKeyDown(int which, int& keyCode, int shift);
    void editorKeyPress(int which, int& keyAscii);
    void pickerKeyPress(int which, int& keyAscii);
    void dropPicker(int which);
    void deleteRow(int which, int row);   // whole row numbers: no 16-bit wrap
    bool billDateRefused(int which);
    bool amountRefused(int which);
    void commitEditor(int which);
    // The focus leaving a cell editor for another control: refused as leaving its cell is.
    int focusedEditor() const;
    bool pressLeavesEditor(QWidget* target, int which) const;
    bool editorLeaveRefused(int which);
    void commitMonth();

    bool committingMonth_ = false;
    QString monthBeforeList_;        // the month committed when the month list opened
    int purchaseKindShown_ = -1;     // the List4 entry whose register fg1 holds
    bool revertingList4_ = false;
    bool pressRefused_ = false;      // the last mouse press was kept from leaving an editor

    // storage and commands
public:
    // Month summary and report tables (form10/returns).
    void procWriteCommon();
    void procLoadKey();
    void procLoadRptPurchase();
    void procRptPurchaseInterState();
    void procLoadRptSales();
    void procLoadRptPurchaseC();
    void procLoadRptPurchaseInterStateC();
    void procLoadRptSalesC();
    void procRptPurchase();
    void procLoadRptCommon();

    // Form 10 page tables (form10/returns/PageExports.cpp).
    void procNewRecExists(const QString& tableName);
    void procExportPurchaseLocal();
    void procExportPurchaseInterState();
    void procExportSales();
    void procExportSalesLocal();
};
