// The backup window: copies the data files of the program folder (TAXDATA.mdb, nwForm10DB.mdb,
// Form10Data.mdb) into the folder "Lumora1BackUp" at the root of a drive, and back. On
// opening it lets go of the shared Form 10 connection, lists the drive roots and looks for a
// root that already holds the backup folder: that root is then fixed as the backup path;
// otherwise the user picks a drive and the first backup makes the folder there. A blinking
// label says which case holds. Each time it becomes active it first undoes a backup or restore
// that a crash interrupted (see BackUpCopies.h). Failures are shown under one title with the
// critical icon.
#pragma once

#include "platform/ui/forms/Form.h"

#include <QString>
#include <memory>

class QLabel;
namespace sys {
class FileSystemObject;
}
namespace ui {
class ComboBox;
class CommandButton;
class Timer;
}

class frmBackUpRestore : public ui::Form {
    Q_OBJECT
public:
    frmBackUpRestore();
    ~frmBackUpRestore() override;

    ui::CommandButton* Command7 = nullptr;   // "BackUp"
    ui::CommandButton* Command6 = nullptr;   // "Restore"
    QLabel* Label2 = nullptr;                // "BackUp  Path " or "Select  Path", blinking
    ui::ComboBox* cboDrive = nullptr;        // the drive roots
    QLabel* Image1 = nullptr;                // closes the window
    ui::Timer* Timer1 = nullptr;             // drives the blinking

    // Fills cboDrive with the drive roots, in the order the system gives them.
    void procDriveList();
    // The root of the last listed drive holding the backup folder, selected in the box and
    // recorded as the backup root; "NIL" when no drive holds it.
    QString fnBackUpExists(ui::ComboBox& drives);

    void cboDrive_Click();
    void cboDrive_KeyPress(int& keyAscii);
    void Command7_Click();
    void Command6_Click();
    void Image1_Click();
    void Timer1_Timer();

    // The drive last chosen in cboDrive, and the root found holding the backup folder ("" when
    // none was found).
    const QString& chosenDrive() const { return ChosenDrive; }
    const QString& backUpRoot() const { return BackUpRoot; }

protected:
    void Form_Load() override;
    void Form_Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const sys::FileSystemObject& fileSystem();
    // Undoes a backup or restore a crash interrupted, in the program folder and on the listed
    // drives; says so when that cannot be done now.
    void recoverInterruptedChanges();
    // The index of the last listed drive whose root holds the backup folder; -1 for none.
    int lastDriveWithBackUp(const ui::ComboBox& drives);
    // The backup folder on the root in use: the backup root, else the chosen drive.
    QString backUpFolder() const;
    void showFocusColour(ui::CommandButton* button, bool focused);

    QString ChosenDrive;
    QString BackUpRoot;
    short BlinkCount = 0;
    std::unique_ptr<sys::FileSystemObject> FileSystem;
};
