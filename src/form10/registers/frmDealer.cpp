// The dealer window: the list, the details of the dealer selected, and its four commands.
#include "form10/registers/frmDealer.h"

#include "form10/registers/Module2.h"
#include "form10/registers/frmNormal.h"
#include "form10/registers/frmSelect.h"
#include "platform/ui/controls/CommandButton.h"
#include "platform/ui/forms/Keys.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/ui/controls/TextBox.h"
#include "platform/ui/forms/Twips.h"

#include <QLabel>

namespace {

const QString kTag = QStringLiteral("Dealers");
const QString kNoteTitle = QStringLiteral("Plase Note.......!");
const QString kSorryTitle = QStringLiteral("Sorry.........!");
const QString kNoDealer = QStringLiteral("(no dealer)");

void note(const QString& text)
{
    ui::MsgBox(text, ui::vbExclamation, kNoteTitle);
}

bool agreed(const QString& question)
{
    return ui::MsgBox(question, ui::vbYesNo + ui::vbQuestion, kNoteTitle) == ui::vbYes;
}

QString described(const f10::Dealer& d)
{
    return d.name + QStringLiteral(" (") + d.code + QLatin1Char(')');
}

// Says so when another dealer than `except` has the code, the focus on the code for a change.
bool codeTaken(const QString& code, const QString& except, ui::TextBox* codeBox)
{
    const auto owner = f10::codeOwner(code, except);
    if (!owner)
        return false;
    note(QStringLiteral("The code %1 is already given to %2.").arg(code, *owner));
    codeBox->setFocus(Qt::OtherFocusReason);
    return true;
}

// The dealer values the Form 10 tool keeps its books by.
void useDealer(const f10::Dealer& d)
{
    auto& m = Module2();
    m.DealerCode = d.code;
    m.DealerName = d.name;
    m.DealerTIN = d.tin;
    m.DealerCSTNo = d.cstNo;
}

} // namespace

frmDealer::frmDealer() : ui::Form(QStringLiteral("frmDealer"))
{
    setCaption(QStringLiteral("Choose the Dealer"));

    auto* heading = new QLabel(QStringLiteral("Dealers"), this);
    heading->setObjectName(QStringLiteral("lblDealers"));
    ui::moveTwips(heading, 240, 180, 4200, 285);
    lstDealers = new ui::ListBox(QStringLiteral("lstDealers"), this);
    lstDealers->Move(240, 480, 4200, 3600);

    struct Field { ui::TextBox** target; const char* name; const char* label; const char* caption; int top; int maxLength; };
    const Field fields[4] = {
        {&txtCode, "txtCode", "lblCode", "Code", 480, 20},
        {&txtName, "txtName", "lblName", "Name", 960, 60},
        {&txtTIN, "txtTIN", "lblTIN", "TIN", 1440, 11},
        {&txtCSTNo, "txtCSTNo", "lblCSTNo", "CST No", 1920, 30},
    };
    for (const Field& f : fields) {
        auto* l = new QLabel(QString::fromLatin1(f.caption), this);
        l->setObjectName(QString::fromLatin1(f.label));
        ui::moveTwips(l, 4680, f.top + 30, 1080, 300);
        auto* t = new ui::TextBox(QString::fromLatin1(f.name), this);
        t->Move(5760, f.top, 2760, 360);
        t->setMaxLength(f.maxLength);
        *f.target = t;
    }

    struct Button { ui::CommandButton** target; const char* name; const char* caption; int left; int top; };
    const Button buttons[4] = {
        {&cmdAdd, "cmdAdd", "&Add", 5760, 2520},
        {&cmdCorrect, "cmdCorrect", "Co&rrect", 7320, 2520},
        {&cmdOpen, "cmdOpen", "&Open", 5760, 3660},
        {&cmdCancel, "cmdCancel", "&Cancel", 7320, 3660},
    };
    for (const Button& b : buttons) {
        *b.target = new ui::CommandButton(QString::fromLatin1(b.name), QString::fromLatin1(b.caption), this);
        (*b.target)->Move(b.left, b.top, 1200, 420);
    }
    cmdCancel->setCancel(true);

    setTabOrder(lstDealers, cmdOpen);
    setTabOrder(cmdOpen, txtCode);
    setTabOrder(txtCode, txtName);
    setTabOrder(txtName, txtTIN);
    setTabOrder(txtTIN, txtCSTNo);
    setTabOrder(txtCSTNo, cmdAdd);
    setTabOrder(cmdAdd, cmdCorrect);
    setTabOrder(cmdCorrect, cmdCancel);

    connect(lstDealers, &ui::ListBox::Click, this, [this] { lstDealers_Click(); });
    connect(lstDealers, &ui::ListBox::DblClick, this, [this] { cmdOpen_Click(); });
    connect(lstDealers, &ui::ListBox::KeyPress, this, [this](int& k) {
        if (k == ui::vbKeyReturn)
            cmdOpen_Click();
    });
    connect(cmdOpen, &ui::CommandButton::Click, this, [this] { cmdOpen_Click(); });
    connect(cmdAdd, &ui::CommandButton::Click, this, [this] { cmdAdd_Click(); });
    connect(cmdCorrect, &ui::CommandButton::Click, this, [this] { cmdCorrect_Click(); });
    connect(cmdCancel, &ui::CommandButton::Click, this, [this] { cmdCancel_Click(); });
}

void frmDealer::openForm10Tool(QWidget* owner)
{
    frmDealer& window = ui::form<frmDealer>();
    if (!runReported(kTag, [&] { window.procFillList(); })) {
        window.Unload();
        return;
    }
    window.Show(ui::vbModeless, owner);
}

void frmDealer::Form_Load()
{
    Move(3600, 2400, 8880, 4440);
}

void frmDealer::Form_Activate()
{
    if (lstDealers->ListCount() > 0)
        lstDealers->setFocus(Qt::OtherFocusReason);
    else
        txtCode->setFocus(Qt::OtherFocusReason);
}

// Closing by the frame leaves as Cancel does (and may be refused as it is).
void frmDealer::Form_QueryUnload(int& cancel, int unloadMode)
{
    if (unloadMode != ui::vbFormControlMenu)
        return;
    cancel = 1;
    cmdCancel_Click();
}

void frmDealer::procFillList(const QString& code)
{
    const f10::DealerChoices choices = f10::readDealers();
    entries_.clear();
    if (choices.unkeyedRows)
        entries_.push_back({f10::Dealer{}, true});
    for (const f10::Dealer& d : choices.dealers)
        entries_.push_back({d, false});

    lstDealers->Clear();
    for (const Entry& e : entries_)
        lstDealers->AddItem(e.unkeyed ? kNoDealer : described(e.dealer));

    const QString wanted = code.isNull() ? choices.lastCode : code;
    int index = entries_.empty() ? -1 : 0;
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
        if (!entries_[i].unkeyed && entries_[i].dealer.code.compare(wanted, Qt::CaseInsensitive) == 0)
            index = i;
    lstDealers->setListIndex(index);
    if (index < 0)
        lstDealers_Click();
}

const frmDealer::Entry* frmDealer::selected() const
{
    const int i = lstDealers->ListIndex();
    return i >= 0 && i < static_cast<int>(entries_.size()) ? &entries_[static_cast<size_t>(i)] : nullptr;
}

f10::Dealer frmDealer::typed() const
{
    return f10::trimmed({txtCode->Text(), txtName->Text(), txtTIN->Text(), txtCSTNo->Text()});
}

void frmDealer::lstDealers_Click()
{
    const Entry* e = selected();
    const f10::Dealer d = e ? e->dealer : f10::Dealer{};
    txtCode->setText(d.code);
    txtName->setText(d.name);
    txtTIN->setText(d.tin);
    txtCSTNo->setText(d.cstNo);
}

// A dealer that cannot be stored as typed is explained, with the focus where it needs work.
bool frmDealer::refused(const f10::Dealer& d)
{
    const QString problem = f10::dealerProblem(d);
    if (problem.isEmpty())
        return false;
    note(problem);
    ui::TextBox* box = d.code.isEmpty() ? txtCode : d.name.isEmpty() ? txtName : txtTIN;
    box->setFocus(Qt::OtherFocusReason);
    return true;
}

void frmDealer::cmdOpen_Click()
{
    const Entry* e = selected();
    if (!e) {
        note(QStringLiteral("Please choose a dealer in the list, or type a new dealer's details and press Add."));
        return;
    }
    if (typed() != e->dealer) {
        note(QStringLiteral("The details shown are not saved. Press Add to add them as a new dealer, or Correct "
                            "to correct the dealer chosen in the list."));
        return;
    }
    chooseDealer(*e);
}

void frmDealer::chooseDealer(const Entry& e)
{
    const bool screenOpen = ui::formLoaded<frmNormal>();
    const bool otherDealer = e.dealer.code != Module2().DealerCode;
    if (screenOpen && otherDealer
        && !ui::form<frmNormal>().fnConfirmDiscard(QStringLiteral("choose another dealer")))
        return;
    if (!runReported(kTag, [&] { f10::rememberChoice(e.dealer.code); }))
        return;
    useDealer(e.dealer);
    if (screenOpen && otherDealer)
        runReported(kTag, [] { ui::form<frmNormal>().procDealerChanged(); });
    Unload();
    ui::form<frmSelect>().Show(ui::vbModeless);
}

void frmDealer::cmdAdd_Click()
{
    const f10::Dealer d = typed();
    if (refused(d))
        return;
    runReported(kTag, [&] {
        if (codeTaken(d.code, QString(), txtCode))
            return;
        f10::addDealer(d);
        procFillList(d.code);
        lstDealers->setFocus(Qt::OtherFocusReason);
    });
}

void frmDealer::cmdCorrect_Click()
{
    const Entry* chosen = selected();
    if (!chosen) {
        note(QStringLiteral("Please choose in the list the dealer to correct."));
        return;
    }
    const Entry e = *chosen;   // the list is read again below
    const f10::Dealer d = typed();
    if (refused(d) || (!e.unkeyed && d == e.dealer))
        return;
    runReported(kTag, [&] {
        if (codeTaken(d.code, e.dealer.code, txtCode))
            return;
        // The rows follow their dealer's code; moving them is said before it is done.
        if (e.unkeyed) {
            if (!agreed(QStringLiteral("The months saved without a dealer will be kept under %1.\n\nGo on?").arg(described(d))))
                return;
        } else if (d.code != e.dealer.code && f10::codeHasRows(e.dealer.code)) {
            if (!agreed(QStringLiteral("The months stored under the code %1 will be kept under the code %2.\n\nGo on?")
                            .arg(e.dealer.code, d.code)))
                return;
        }
        const f10::SaveFailure failure = f10::correctDealer(e.dealer.code, e.unkeyed, d);
        if (failure.any()) {
            ui::MsgBox(f10::unitFailureMessage(
                           failure, QStringLiteral("The dealer was not corrected.\n\nThe change stopped while "),
                           [](const QString& table) { return QStringLiteral("writing ") + table; },
                           QStringLiteral("The dealer list and the stored months are as they were.")),
                       ui::vbCritical, kSorryTitle);
            return;
        }
        // The dealer in use follows its correction, on the register screen too.
        if (Module2().DealerCode == e.dealer.code) {
            useDealer(d);
            if (ui::formLoaded<frmNormal>())
                ui::form<frmNormal>().lblCustomerName->setText(d.name);
        }
        procFillList(d.code);
    });
}

void frmDealer::cmdCancel_Click()
{
    // As the option screen's Cancel: the Form 10 tool closes and the main window comes back.
    if (frmSelect::leaveForm10Tool())
        Unload();
}
