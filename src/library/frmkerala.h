// The Kerala law library window: a toolbar that picks a category, seven category trees
// stacked in one frame, and the 26 search screens the trees and the toolbar open. Each screen
// is created and configured once, from the screen catalogue; its Go value comes back here and
// becomes a document query for the document window.
#pragma once

#include "platform/db/Variant.h"
#include "platform/ui/Form.h"

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
class ImageList;
class StatusBar;
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

    // The list panel's word-search column; the panel is never filled from the trees built
    // here, so it stays empty and the list hint never shows.
    QString WordSearchColumn;

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void mousePressEvent(QMouseEvent* event) override;

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

    QString currentToolbarKey_;
    // One slot per catalogue row, in catalogue order.
    std::vector<QPointer<frmGlobalSections>> screens_;
};
