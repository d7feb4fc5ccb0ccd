// The main window: the state tree that leads to the law library, the toolbar (help
// documents, Notepad, backup, the Form 10 tool, Exit), the banner, and the pictures for the
// backup window and for shutting the computer down.
#pragma once

#include "platform/ui/forms/Form.h"

#include <QString>

class QFrame;
namespace ui {
class Banner;
class Button;
class ImageList;
class Timer;
class Toolbar;
class TreeView;
}

class main : public ui::Form {
    Q_OBJECT
public:
    main();

    // Writes FrmFlg of the first row of tblMPage2 and unloads the window. Raises when the
    // database cannot be opened or the table has no row (nothing is written then).
    void procFrmFlgSetZero();
    void procFrmFlgSetOne();
    // Replaces the shared Form 10 connection by a newly opened one and ReadRecordset by a
    // new, closed recordset.
    void procConnectDB();

    // The toolbar's dispatch on a button key.
    void Toolbar2_ButtonClick(const QString& key);
    void Tvw_Click();
    void Tvw_DblClick() { Tvw_Click(); }
    void Picture2_Click();
    void Picture6_Click();

    ui::TreeView* Tvw = nullptr;
    ui::Toolbar* Toolbar2 = nullptr;
    QFrame* Frame1 = nullptr;
    ui::Banner* ShockwaveFlash1 = nullptr;
    QWidget* Picture3 = nullptr;
    QWidget* Picture2 = nullptr;
    QWidget* Picture6 = nullptr;
    QWidget* Picture4 = nullptr;
    QWidget* Picture5 = nullptr;
    ui::Timer* Timer1 = nullptr;
    ui::ImageList* ImageList1 = nullptr;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void procFrmFlgSet(int value);
    void writeFrmFlg(int value);
    // Exit: the flag (a failure is reported), then the end of the program. False when the
    // user keeps the register screen's unsaved bills: nothing is done.
    bool exitProgram(bool unloadWindow);
    bool exiting_ = false;
};
