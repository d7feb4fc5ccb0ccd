// The register screen's window: its controls and layout, the load step, the activation, the
// month list, the purchase register switch List4 and the command buttons' focus colours.
#include "form10/registers/frmNormal.h"

#include "form10/registers/Module2.h"
#include "platform/sys/Clock.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/grids/FlexGrid.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/vb/Vb.h"

#include <QDate>
#include <QFont>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

namespace {

constexpr long kButtonFace = 0xC0C0FF;      // pale red
constexpr long kButtonFocus = 0xC0FFFF;     // pale yellow
constexpr long kPrintFace = 0xD0AEDD;
constexpr long kPrintUnfocused = 0xFFC0FF;  // pale magenta

const char* const kLoadRates[5] = {"         0", "         1", "         4", "       12.5",
                                   "        20       "};
const char* const kLocalRates[5] = {"      0", "      1", "      4", "    12.5", "     20       "};
const char* const kInterStateRates[5] = {"      0", "      1", "      4", "    12.5", "      20"};
const char* const kSalesRates[6] = {"      0", "      1", "      4", "    12.5", "     20  ",
                                    "     CST "};

QString currentMonthName()
{
    return vb::FormatDate(sys::today(), QStringLiteral("mmmm"));
}

QString today()
{
    return vb::FormatDate(sys::today(), QStringLiteral("dd-mm-yy"));
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setAlignment(align);
    ui::moveTwips(l, left, top, width, height);
    return l;
}

} // namespace

frmNormal::frmNormal() : ui::Form(QStringLiteral("frmNormal"))
{
    setCaption(QStringLiteral("             Form No. 52"));
    setWidth(15480);
    setHeight(10200);
    buildControls();
}

frmNormal::~frmNormal() = default;

void frmNormal::buildControls()
{
    // Top: dealer and the purchase month.
    makeLabel(this, QStringLiteral("lblDealer"), QStringLiteral("Dealer"), 120, 120, 900, 300);
    lblCustomerName = makeLabel(this, QStringLiteral("lblCustomerName"), QString(), 1080, 120, 6000, 300);
    lblCustomerName->setFrameShape(QFrame::Panel);
    lblCustomerName->setFrameShadow(QFrame::Sunken);

    makeLabel(this, QStringLiteral("lblPurchaseMonth"), QStringLiteral("Purchase Register for the Month of"),
              120, 600, 3200, 300);
    txtRPTo = new ui::TextBox(QStringLiteral("txtRPTo"), this);
    txtRPTo->Move(3360, 570, 1800, 330);
    List4 = new ui::ListBox(QStringLiteral("List4"), this);
    List4->Move(5400, 480, 2400, 560);

    // Entry details beside the month.
    makeLabel(this, QStringLiteral("lblDetails"), QStringLiteral("Details"), 8160, 120, 1200, 300);
    makeLabel(this, QStringLiteral("lblDate"), QStringLiteral("Date:"), 8160, 600, 600, 300);
    txtDate = new ui::TextBox(QStringLiteral("txtDate"), this);
    txtDate->Move(8760, 570, 1200, 330);
    makeLabel(this, QStringLiteral("lblPlace"), QStringLiteral("Place:"), 10200, 600, 700, 300);
    txtPlace = new ui::TextBox(QStringLiteral("txtPlace"), this);
    txtPlace->Move(10920, 570, 2400, 330);

    // Purchase grid, its editor and picker.
    fg1 = new ui::FlexGrid(QStringLiteral("fg1"), this);
    fg1->Move(120, 1080, 15000, 2800);
    txtGrid1 = new ui::TextBox(QStringLiteral("txtGrid1"), this);
    txtGrid1->setFrame(false);
    List2 = new ui::ListBox(QStringLiteral("List2"), this);
    List2->Move(0, 0, 800, 1400);

    // Sales heading, grid, editor and picker.
    makeLabel(this, QStringLiteral("lblSalesMonth"), QStringLiteral(" Sales Register for the Month of"),
              120, 5040, 3200, 300);
    txtMonth = new ui::TextBox(QStringLiteral("txtMonth"), this);
    txtMonth->Move(3360, 5010, 1800, 330);
    txtMonth->setLocked(true);   // shows the month of txtRPTo; typing into it would file nothing
    fg2 = new ui::FlexGrid(QStringLiteral("fg2"), this);
    fg2->Move(120, 5400, 15000, 2460);
    txtGrid2 = new ui::TextBox(QStringLiteral("txtGrid2"), this);
    txtGrid2->setFrame(false);
    List3 = new ui::ListBox(QStringLiteral("List3"), this);
    List3->Move(0, 0, 800, 1600);
    // The two-line header of the rate column fits its 400-twip row only in a compact face.
    // The editors match, so that a cell's text does not jump when it is entered.
    for (QWidget* w : std::initializer_list<QWidget*>{fg1, fg2, txtGrid1, txtGrid2}) {
        QFont compact = w->font();
        compact.setPointSizeF(8.25);
        w->setFont(compact);
    }
    for (ui::ListBox* picker : {List2, List3}) {
        picker->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        picker->setTextElideMode(Qt::ElideNone);   // entries carry trailing blanks
    }

    // The month list drops below the month box, over the grid.
    List1 = new ui::ListBox(QStringLiteral("List1"), this);
    List1->Move(3360, 900, 1800, 2900);

    // Per-rate totals: the places are part of the screen's contract.
    struct Panel { int header; int rows[3]; };
    const Panel purchase{3960, {4200, 4440, 4680}};
    const Panel sales{7920, {8160, 8400, 8640}};
    const int captionLeft[2] = {120, 6720};
    const int valueLeft[2][3] = {{2160, 3600, 5040}, {8880, 10320, 11760}};
    auto headers = [&](const Panel& p, const QString& prefix, const QString& leftTax) {
        for (int half = 0; half < 2; ++half) {
            const QString h = prefix + QString::number(half);
            makeLabel(this, h + QStringLiteral("Rate"), QStringLiteral("Rate of Tax % "), captionLeft[half],
                      p.header, 2000, 255);
            makeLabel(this, h + QStringLiteral("Amount"), QStringLiteral("Amount"), valueLeft[half][0], p.header,
                      1500, 255, Qt::AlignRight | Qt::AlignVCenter);
            makeLabel(this, h + QStringLiteral("Tax"), half == 0 ? leftTax : QStringLiteral("Tax "),
                      valueLeft[half][1], p.header, 1500, 255, Qt::AlignRight | Qt::AlignVCenter);
            makeLabel(this, h + QStringLiteral("Cess"), QStringLiteral("Cess"), valueLeft[half][2], p.header,
                      1500, 255, Qt::AlignRight | Qt::AlignVCenter);
        }
    };
    headers(purchase, QStringLiteral("lblPurchaseHead"), QStringLiteral("  Tax "));
    headers(sales, QStringLiteral("lblSalesHead"), QStringLiteral("Tax "));

    // One row per rate: caption, then the amount, tax and cess labels.
    struct RateRow { const char* caption; QLabel** amount; QLabel** tax; QLabel** cess; const char* names[3]; };
    const RateRow purchaseRows[5] = {
        {"1, Total Purchase   @    0 %   ", &Label12, &Label16, &Label58, {"Label12", "Label16", "Label58"}},
        {"2, Total Purchase   @    1 %   ", &Label13, &Label17, &Label57, {"Label13", "Label17", "Label57"}},
        {"3, Total Purchase   @    4 %   ", &Label14, &Label18, &Label56, {"Label14", "Label18", "Label56"}},
        {"4, Total Purchase   @  12.5 %   ", &Label15, &Label19, &Label62, {"Label15", "Label19", "Label62"}},
        {"5, Total Purchase   @    20 %   ", &Label10, &Label34, &Label61, {"Label10", "Label34", "Label61"}},
    };
    const RateRow salesRows[6] = {
        {"1, Total Sales   @    0 %   ", &Label23, &Label27, &Label50, {"Label23", "Label27", "Label50"}},
        {"2, Total Sales   @    1 %   ", &Label22, &Label26, &Label49, {"Label22", "Label26", "Label49"}},
        {"3, Total Sales   @    4 %   ", &Label21, &Label25, &Label48, {"Label21", "Label25", "Label48"}},
        {"4, Total Sales   @    12.5 %   ", &Label20, &Label24, &Label54, {"Label20", "Label24", "Label54"}},
        {"5, Total Sales   @    CST %   ", &Label35, &Label36, &Label53, {"Label35", "Label36", "Label53"}},
        {"6, Total Sales   @    20 %   ", &Label45, &Label44, &Label52, {"Label45", "Label44", "Label52"}},
    };
    auto rateRows = [&](const RateRow* rows, int count, const Panel& p, const QString& prefix) {
        for (int i = 0; i < count; ++i) {
            const int half = i < 3 ? 0 : 1;
            const int top = p.rows[i % 3];
            QLabel* caption = makeLabel(this, prefix + QString::number(i), QString::fromLatin1(rows[i].caption),
                                        captionLeft[half], top, valueLeft[half][0] - captionLeft[half], 255);
            // The captions are long for their column; a compact face keeps them whole.
            QFont small = caption->font();
            small.setPointSizeF(7.5);
            caption->setFont(small);
            QLabel** targets[3] = {rows[i].amount, rows[i].tax, rows[i].cess};
            for (int k = 0; k < 3; ++k) {
                const QString name = QString::fromLatin1(rows[i].names[k]);
                // Blank until the first computation; two of the sales labels start empty.
                const QString initial = (name == QLatin1String("Label50") || name == QLatin1String("Label54"))
                                            ? QString() : QStringLiteral(" ");
                QLabel* l = makeLabel(this, name, initial, valueLeft[half][k], top, 1500, 255,
                                      Qt::AlignRight | Qt::AlignVCenter);
                l->setFrameShape(QFrame::Panel);
                l->setFrameShadow(QFrame::Sunken);
                *targets[k] = l;
            }
        }
    };
    rateRows(purchaseRows, 5, purchase, QStringLiteral("lblPurchaseRate"));
    rateRows(salesRows, 6, sales, QStringLiteral("lblSalesRate"));

    // Grand totals beside the panels, wide enough for eighteen of the largest amount.
    makeLabel(this, QStringLiteral("lblPurchaseTotal"), QStringLiteral("Total"), 13320, 3960, 1800, 255,
              Qt::AlignRight | Qt::AlignVCenter);
    txtTotal = new ui::TextBox(QStringLiteral("txtTotal"), this);
    txtTotal->Move(13320, 4200, 1800, 315);
    txtTotal->setAlignment(ui::vbRightJustify);
    makeLabel(this, QStringLiteral("lblSalesTotal"), QStringLiteral("Total"), 13320, 7920, 1800, 255,
              Qt::AlignRight | Qt::AlignVCenter);
    txtTotal2 = new ui::TextBox(QStringLiteral("txtTotal2"), this);
    txtTotal2->Move(13320, 8160, 1800, 315);
    txtTotal2->setAlignment(ui::vbRightJustify);

    // Command buttons, graphical so that their colours show.
    struct Button { ui::CommandButton** target; const char* name; const char* caption; long face; int left; };
    const Button buttons[6] = {
        {&cmdAdd, "cmdAdd", "&Add", kButtonFace, 1200},
        {&cmdDelete, "cmdDelete", "&Delete", kButtonFace, 2640},
        {&cmdExport, "cmdExport", "E&xport", kButtonFace, 4080},
        {&cmdPrint1, "cmdPrint1", "PRINT", kPrintFace, 5520},
        {&Command2, "Command2", "PRINT", kPrintFace, 6960},
        {&cmdClose, "cmdClose", "C&lose", kButtonFace, 8400},
    };
    for (const Button& b : buttons) {
        auto* button = new ui::CommandButton(QString::fromLatin1(b.name), QString::fromLatin1(b.caption), this);
        button->setStyle(ui::vbButtonGraphical);
        button->setBackColor(b.face);
        button->Move(b.left, 9120, 1200, 420);
        *b.target = button;
    }

    // Tab order of the working controls.
    setTabOrder(txtRPTo, List4);
    setTabOrder(List4, txtDate);
    setTabOrder(txtDate, txtPlace);
    setTabOrder(txtPlace, txtGrid1);
    setTabOrder(txtGrid1, txtGrid2);
    setTabOrder(txtGrid2, cmdAdd);
    setTabOrder(cmdAdd, cmdDelete);
    setTabOrder(cmdDelete, cmdExport);
    setTabOrder(cmdExport, cmdPrint1);
    setTabOrder(cmdPrint1, Command2);
    setTabOrder(Command2, cmdClose);

    // The editors and pickers float over the grids.
    List1->raise();
    txtGrid1->raise();
    txtGrid2->raise();
    List2->raise();
    List3->raise();

    // Events.
    connect(txtRPTo, &ui::TextBox::GotFocus, this, [this] { txtRPTo_GotFocus(); });
    connect(txtRPTo, &ui::TextBox::Change, this, [this] { txtRPTo_Change(); });
    connect(List1, &ui::ListBox::KeyDown, this, [this](int& k, int s) { List1_KeyDown(k, s); });
    connect(List1, &ui::ListBox::KeyUp, this, [this](int& k, int s) { List1_KeyUp(k, s); });
    // A month or register that cannot be read is reported; the screen stays usable.
    connect(List1, &ui::ListBox::KeyPress, this,
            [this](int& k) { runReported(QStringLiteral("List1_KeyPress"), [&] { List1_KeyPress(k); }); });
    connect(List1, &ui::ListBox::DblClick, this,
            [this] { runReported(QStringLiteral("List1_DblClick"), [this] { List1_DblClick(); }); });
    connect(List1, &ui::ListBox::LostFocus, this,
            [this] { runReported(QStringLiteral("List1_LostFocus"), [this] { List1_LostFocus(); }); });
    connect(List4, &ui::ListBox::Click, this,
            [this] { runReported(QStringLiteral("List4_Click"), [this] { List4_Click(); }); });

    connect(cmdAdd, &ui::CommandButton::GotFocus, this, [this] { cmdAdd_GotFocus(); });
    connect(cmdAdd, &ui::CommandButton::LostFocus, this, [this] { cmdAdd_LostFocus(); });
    connect(cmdDelete, &ui::CommandButton::GotFocus, this, [this] { cmdDelete_GotFocus(); });
    connect(cmdDelete, &ui::CommandButton::LostFocus, this, [this] { cmdDelete_LostFocus(); });
    connect(cmdExport, &ui::CommandButton::GotFocus, this, [this] { cmdExport_GotFocus(); });
    connect(cmdExport, &ui::CommandButton::LostFocus, this, [this] { cmdExport_LostFocus(); });
    connect(cmdClose, &ui::CommandButton::GotFocus, this, [this] { cmdClose_GotFocus(); });
    connect(cmdClose, &ui::CommandButton::LostFocus, this, [this] { cmdClose_LostFocus(); });
    connect(Command2, &ui::CommandButton::GotFocus, this, [this] { Command2_GotFocus(); });
    connect(Command2, &ui::CommandButton::LostFocus, this, [this] { Command2_LostFocus(); });

    connect(cmdAdd, &ui::CommandButton::Click, this, [this] { cmdAdd_Click(); });
    connect(cmdAdd, &ui::CommandButton::KeyPress, this, [this](int& k) { cmdAdd_KeyPress(k); });
    connect(cmdDelete, &ui::CommandButton::Click, this, [this] { cmdDelete_Click(); });
    connect(cmdDelete, &ui::CommandButton::KeyPress, this, [this](int& k) { cmdDelete_KeyPress(k); });
    connect(cmdExport, &ui::CommandButton::Click, this, [this] { cmdExport_Click(); });
    connect(cmdExport, &ui::CommandButton::KeyPress, this, [this](int& k) { cmdExport_KeyPress(k); });
    connect(cmdClose, &ui::CommandButton::Click, this, [this] { cmdClose_Click(); });
    connect(cmdClose, &ui::CommandButton::KeyPress, this, [this](int& k) { cmdClose_KeyPress(k); });

    connectGridEvents();
    buildPrintCommands();
}

void frmNormal::Form_Load()
{
    List2->hide();
    List3->hide();

    txtRPTo->setText(currentMonthName());
    txtMonth->setText(txtRPTo->Text());
    txtDate->setText(today());

    List1->hide();
    for (int month = 1; month <= 12; ++month)
        List1->AddItem(vb::MonthName(month));

    for (const char* r : kLoadRates)
        List2->AddItem(QString::fromLatin1(r));
    for (const char* r : kSalesRates)
        List3->AddItem(QString::fromLatin1(r));
    List4->AddItem(QStringLiteral("Local Purchase"));
    List4->AddItem(QStringLiteral("Inter State Purchase"));

    lblCustomerName->setText(Module2().DealerName);

    fg1->setTextMatrix(1, 0, QStringLiteral("1"));
    fg1->setCol(1);
    procSetGrid();
    procMoveTextBox();

    fg2->setTextMatrix(1, 0, QStringLiteral("1"));
    fg2->setCol(1);
    procSetGrid2();
    procMoveTextBox2();
    procReadSales_1();

    fg1->setRow(1);
    fg1->setCol(1);

    List4->setListIndex(0);
    // The first cells were never entered: their editors start as entering them leaves them.
    dressEditor(1);
    dressEditor(2);
}

void frmNormal::Form_Activate()
{
    vb::skip([this] { setWindowState(ui::vbMaximized); });
    // Mouse presses are looked at before they move the focus out of a cell editor (once: a
    // filter installed again stays one filter).
    if (QWindow* window = windowHandle())
        window->installEventFilter(this);
    // A look at another window must not throw away rows being keyed: the registers are
    // read again only over grids that hold nothing unsaved.
    if (fg1Edited || fg2Edited)
        return;
    // The register List4 names, not always the local one: a later save writes fg1 back
    // into the register List4 names.
    vb::skip([this] { procReadPurchaseShown(); });
    vb::skip([this] { procReadSales_1(); });
    vb::skip([this] { fg1->setRow(1); });
    vb::skip([this] { fg1->setCol(1); });
    vb::skip([this] { fg1->setFocus(Qt::OtherFocusReason); });
    vb::skip([this] { fg2->setRow(1); });
    vb::skip([this] { fg2->setCol(1); });
    vb::skip([this] { txtGrid2->setText(fg2->Text()); });
    vb::skip([this] { fg1->setTextMatrix(1, 0, QStringLiteral("1")); });
    vb::skip([this] { fg2->setTextMatrix(1, 0, QStringLiteral("1")); });
}

void frmNormal::procReadPurchaseShown()
{
    if (List4->ListIndex() == 1)
        procReadPurchaseInterState();
    else
        procReadPurchase();
}

bool frmNormal::fnConfirmDiscard(const QString& action, bool salesGridToo)
{
    if (!fg1Edited && !(salesGridToo && fg2Edited))
        return true;
    const QString month = vb::Trim(txtRPTo->Text());
    const QString bills = salesGridToo ? QStringLiteral("bills") : QStringLiteral("purchase bills");
    return ui::MsgBox(QStringLiteral("The %1 keyed for %2 have not been saved.\r\n\r\n"
                                     "If you %3 now, they are lost.\r\n\r\nDiscard the unsaved %1 of %2?")
                          .arg(bills, month, action),
                      ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2, QStringLiteral("Unsaved bills"))
           == ui::vbYes;
}

bool frmNormal::fnConfirmDiscardIfOpen(const QString& action)
{
    return !ui::formLoaded<frmNormal>() || ui::form<frmNormal>().fnConfirmDiscard(action);
}

void frmNormal::Form_QueryUnload(int& cancel, int unloadMode)
{
    // Closed by its frame: the same question as its Close button.
    if (unloadMode == ui::vbFormControlMenu && !fnConfirmDiscard(QStringLiteral("close the register screen")))
        cancel = 1;
}

void frmNormal::List4_Click()
{
    if (revertingList4_)
        return;
    const int chosen = List4->ListIndex();
    if (chosen != purchaseKindShown_
        && !fnConfirmDiscard(chosen == 1 ? QStringLiteral("show the inter-state purchases")
                                         : QStringLiteral("show the local purchases"),
                             false)) {
        revertingList4_ = true;
        List4->setListIndex(purchaseKindShown_);
        revertingList4_ = false;
        return;
    }
    purchaseKindShown_ = chosen;
    const char* const* rates = kLocalRates;
    if (List4->ListIndex() == 0) {
        procReadPurchase();
    } else {
        procReadPurchaseInterState();
        rates = kInterStateRates;
    }
    List2->Clear();
    for (int i = 0; i < 5; ++i)
        List2->AddItem(QString::fromLatin1(rates[i]));
    fg1->setTextMatrix(1, 0, QStringLiteral("1"));
    procMoveTextBox();
}

void frmNormal::txtRPTo_Change()
{
    txtMonth->setText(txtRPTo->Text());
}

void frmNormal::txtRPTo_GotFocus()
{
    if (committingMonth_)
        return;
    monthBeforeList_ = txtRPTo->Text();
    List4->setEnabled(false);
    List1->show();
    List1->raise();
    List1->setFocus(Qt::OtherFocusReason);
    // The list opens on the current month, whatever month is committed.
    const QString current = vb::Trim(currentMonthName());
    for (int i = 0; i < List1->ListCount(); ++i) {
        if (vb::Trim(List1->List(i)) == current)
            List1->setListIndex(i);
    }
}

// The arrows show the highlighted month while the list is open; the release of the key that
// closed it (Enter, answered No) must not put a month back that was not committed.
void frmNormal::List1_KeyDown(int& keyCode, int shift)
{
    (void)keyCode;
    (void)shift;
    if (!List1->isHidden())
        txtRPTo->setText(List1->List(List1->ListIndex()));
}

void frmNormal::List1_KeyUp(int& keyCode, int shift)
{
    (void)keyCode;
    (void)shift;
    if (!List1->isHidden())
        txtRPTo->setText(List1->List(List1->ListIndex()));
}

void frmNormal::List1_KeyPress(int& keyAscii)
{
    if (keyAscii == ui::vbKeyReturn)
        commitMonth();
}

void frmNormal::List1_DblClick()
{
    commitMonth();
}

void frmNormal::List1_LostFocus()
{
    commitMonth();
}

// Hiding the focused list and moving the focus to the editor would count as leaving the
// list; the guard makes one commit of one choice, so "No Record Exists" shows once.
void frmNormal::commitMonth()
{
    if (committingMonth_ || List1->isHidden())
        return;
    committingMonth_ = true;
    struct Reset { bool& flag; ~Reset() { flag = false; } } reset{committingMonth_};

    // Rows keyed and not saved are kept when the month stays, and thrown away for another
    // month only on a Yes. The arrows showed the chosen month in the box: the question, and a
    // No, put back the month the rows belong to.
    if (fg1Edited || fg2Edited) {
        const QString chosen = List1->Text();
        txtRPTo->setText(monthBeforeList_);
        if (vb::Trim(chosen) == vb::Trim(monthBeforeList_)
            || !fnConfirmDiscard(QStringLiteral("show ") + vb::Trim(chosen))) {
            (fg1Edited ? txtGrid1 : txtGrid2)->setFocus(Qt::OtherFocusReason);
            List1->hide();
            List4->setEnabled(true);
            return;
        }
    }

    txtRPTo->setText(List1->Text());
    txtMonth->setText(List1->Text());
    // Take the focus off the list before hiding it, so that it does not land on the
    // month box and open the list again.
    txtGrid1->setFocus(Qt::OtherFocusReason);
    List1->hide();

    // A month counts as stored when the purchase register on view or the sales register
    // holds rows for it: emptying the grids over stored rows would let the next save
    // delete them.
    procRecExists(List4->ListIndex() == 1 ? QStringLiteral("tblPurchaseInterState1") : QStringLiteral("tblPurchase1"));
    if (!RecordExists)
        procRecExists(QStringLiteral("tblSales"));
    if (!RecordExists) {
        ui::MsgBox(QStringLiteral("No Record Exists"), ui::vbInformation, QStringLiteral("Sorry...."));
        fg1->Clear();
        fg2->Clear();
        txtGrid1->setText(QString());
        txtGrid2->setText(QString());
        procSetGrid();
        procSetGrid2();
        fg1Edited = false;
        fg2Edited = false;
        // Cutting the grids back moves their current row without a cell event: the editors
        // would stay over rows that are gone.
        procMoveTextBox();
        procMoveTextBox2();
        txtDate->setText(today());
        txtPlace->setText(QString());
        // Emptied grids must not leave the old month's totals on the labels.
        procTotalCal1();
        procTotalCal2();
    } else {
        procReadPurchaseShown();
        procReadSales_1();
        txtGrid1->setFocus(Qt::OtherFocusReason);
    }
    fg1->setTextMatrix(1, 0, QStringLiteral("1"));
    fg2->setTextMatrix(1, 0, QStringLiteral("1"));
    List4->setEnabled(true);
}

void frmNormal::cmdAdd_GotFocus() { cmdAdd->setBackColor(kButtonFocus); }
void frmNormal::cmdAdd_LostFocus() { cmdAdd->setBackColor(kButtonFace); }
void frmNormal::cmdDelete_GotFocus() { cmdDelete->setBackColor(kButtonFocus); }
void frmNormal::cmdDelete_LostFocus() { cmdDelete->setBackColor(kButtonFace); }
void frmNormal::cmdExport_GotFocus() { cmdExport->setBackColor(kButtonFocus); }
void frmNormal::cmdExport_LostFocus() { cmdExport->setBackColor(kButtonFace); }
void frmNormal::cmdClose_GotFocus() { cmdClose->setBackColor(kButtonFocus); }
void frmNormal::cmdClose_LostFocus() { cmdClose->setBackColor(kButtonFace); }
void frmNormal::Command2_GotFocus() { Command2->setBackColor(kButtonFocus); }
void frmNormal::Command2_LostFocus() { Command2->setBackColor(kPrintUnfocused); }
