// The Kerala law library window: a toolbar that picks a category, seven category trees
// stacked in one frame, and the 26 search screens the trees and the toolbar open. Each screen
// is created and configured once, from the screen catalogue; its Go value comes back here and
// becomes a document query for the document window. A second frame, the list panel, shows
// one index as a plain list with word search and type-ahead (frmkerala_panel.cpp).
#pragma once

#include "platform/db/Variant.h"
#include "platform/ui/forms/Form.h"

#include <QPointer>
#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class frmGlobalSections;

namespace library {
struct ScreenSpec;
// Loads the screen, sets the properties its catalogue row gives, in the catalogue's order,
// and loads its grid. Raises on the first failure (a grid query that cannot run included).
void configureScreen(frmGlobalSections& screen, const ScreenSpec& spec);
}

namespace ui {
class CommandButton;
class ImageList;
class ListBox;
class StatusBar;
class TextBox;
class Toolbar;
class TreeView;
}

class frmkerala : public ui::Form {
    Q_OBJECT
public:
    frmkerala();
    ~frmkerala() override;

    // The key of the last toolbar button pressed; empty until the first press.
    QString CurrentToolbarKey() const { return currentToolbarKey_; }
    // The screen kept under a catalogue name, or nullptr while it has not been opened.
    frmGlobalSections* screen(const QString& variable) const;

    // Tree openers: each reads the selected node of its tree.
    void Tvw_DblClick();
    void tvw2_DblClick();
    void tvwc_DblClick();
    void tvwn_DblClick();
    void tvw3_DblClick();
    void tvwr_DblClick();
    void tvwali_Click();
    void Toolbar2_ButtonClick(const QString& key);
    void SHOW_CA_MENU_GRID();

    void Form_Resize() override;

    // Registers a control file (mode 0) or unregisters it (mode 1); the result code of the
    // registration, 0 for any other mode.
    static qint16 fnRegisterOcx(const QString& path, qint16 mode);

    // The list panel: a click on an entry binds the document window to its document; the
    // word box narrows the list by words (Enter or the button) and jumps in it as one types.
    void List1_Click();
    void Cmdwordsearch_Click();
    void Text3_KeyPress(int& keyAscii);
    void Text3_Change();
    void Text3_GotFocus();
    void Text3_LostFocus();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_MouseDown(int button, int shift, int x, int y) override;

private:
    struct TreeDef;
    void buildToolbar();
    void setStatusText(const QString& text);
    void buildTree(ui::TreeView* tree, const TreeDef& def);
    void runTreeOpener(ui::TreeView* tree, const QString& tag);
    void openScreen(const library::ScreenSpec& spec);
    frmGlobalSections* createScreen(const library::ScreenSpec& spec);
    void LOAD_CA_MENU_GRID();
    void treeSwitch(ui::TreeView* tree, bool withFocus);
    void screenGoClicked(frmGlobalSections* sender, ado::Variant& value);
    void screenBackClicked(frmGlobalSections* sender);
    int indexOfScreen(const frmGlobalSections* screen) const;
    void Tvw_KeyDown(int& keyCode, int shift);
    void Tvw_MouseDown();
    void Tvw_MouseMove();

    // The list panel (frmkerala_panel.cpp).
    void buildListPanel();
    bool fillListPanel(ui::TreeView* tree, const QString& key);
    void fillActSections();
    void fillRulesEntry(const QString& key);
    void showPanelCategory(int category, bool withWordSearch);
    void listHintAndResize();
    void panelGo(int category);
    void panelBack(int category);
    void layoutListPanel();

    ui::Toolbar* Toolbar2 = nullptr;
    ui::StatusBar* StatusBar1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* Picture1 = nullptr;
    std::array<ui::ImageList*, 3> ImageList1{};
    ui::TreeView* Tvw = nullptr;
    ui::TreeView* tvw2 = nullptr;
    ui::TreeView* tvwc = nullptr;
    ui::TreeView* tvwn = nullptr;
    ui::TreeView* tvw3 = nullptr;
    ui::TreeView* tvwr = nullptr;
    ui::TreeView* tvwali = nullptr;

    // The list panel's controls, inside Frame2. One Go and one Back button per category, in
    // the order of the panel's category table.
    QLabel* Label1 = nullptr;
    ui::TextBox* Text3 = nullptr;
    ui::CommandButton* Cmdwordsearch = nullptr;
    ui::TextBox* Text1 = nullptr;
    ui::ListBox* List1 = nullptr;
    std::array<ui::CommandButton*, 9> goButtons_{};
    std::array<ui::CommandButton*, 9> backButtons_{};

    QString currentToolbarKey_;
    // One slot per catalogue row, in catalogue order.
    std::vector<QPointer<frmGlobalSections>> screens_;
};
