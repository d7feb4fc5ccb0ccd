// The dealer window: whose books the Form 10 tool keeps. Every road into the tool shows it
// first; choosing a dealer sets the four dealer values and brings up the option screen.
// It also adds a dealer and corrects one (code, name, TIN, CST number); correcting the entry
// of the rows stored without a dealer gives them their dealer. It removes nothing.
#pragma once

#include "form10/registers/DealerList.h"
#include "platform/ui/forms/Form.h"

#include <vector>

class QLabel;
namespace ui {
class CommandButton;
class ListBox;
class TextBox;
}

class frmDealer : public ui::Form {
    Q_OBJECT
public:
    frmDealer();

    // The road into the Form 10 tool: the dealer list read afresh and the window shown, owned
    // by `owner` when one is given. A list that cannot be read is reported and nothing shows.
    static void openForm10Tool(QWidget* owner);

    ui::ListBox* lstDealers = nullptr;     // "(no dealer)" first when such rows exist, then by name
    ui::TextBox* txtCode = nullptr;
    ui::TextBox* txtName = nullptr;
    ui::TextBox* txtTIN = nullptr;
    ui::TextBox* txtCSTNo = nullptr;
    ui::CommandButton* cmdOpen = nullptr;      // "&Open"
    ui::CommandButton* cmdAdd = nullptr;       // "&Add"
    ui::CommandButton* cmdCorrect = nullptr;   // "Co&rrect"
    ui::CommandButton* cmdCancel = nullptr;    // "&Cancel" (also Escape)

    void lstDealers_Click();
    void cmdOpen_Click();
    void cmdAdd_Click();
    void cmdCorrect_Click();
    void cmdCancel_Click();

    // Reads the list again and selects `code` (the dealer chosen last when null).
    void procFillList(const QString& code = QString());

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    struct Entry {
        f10::Dealer dealer;
        bool unkeyed = false;   // the rows stored before there were dealers
    };
    const Entry* selected() const;
    f10::Dealer typed() const;
    bool refused(const f10::Dealer& d);
    void chooseDealer(const Entry& e);

    std::vector<Entry> entries_;
};
