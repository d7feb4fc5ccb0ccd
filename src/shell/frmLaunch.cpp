#include "frmLaunch.h"

#include "ShellState.h"
#include "form10/registers/BackUpCopies.h"
#include "lawdb/LawDb.h"
#include "main.h"
#include "platform/db/Error.h"
#include "platform/sys/ControlFile.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/ProgramFolder.h"
#include "platform/ui/forms/MsgBox.h"
#include "platform/vb/Vb.h"

#include <QApplication>
#include <QDir>

namespace {

// One clear message naming the law database that could not be opened or read.
void reportLawDatabaseFault(const QString& detail)
{
    const int number = lawdb::state().connectingDatabase;
    const QString file = number > 0 ? QDir::toNativeSeparators(sys::programFolder() + "/" + lawdb::lawFileName(number))
                                    : QStringLiteral("(a law database)");
    ui::MsgBox(QStringLiteral("The law database\n%1\nis missing or cannot be read, so Lumora cannot start.\n\n%2")
                   .arg(file, detail),
               ui::vbCritical, QStringLiteral("Lumora"));
}

} // namespace

frmLaunch::frmLaunch() : ui::Form(QStringLiteral("frmLaunch")) {}

short frmLaunch::fnRegisterOcx(const QString& path, short mode)
{
    switch (mode) {
    case 0: return static_cast<short>(sys::fnRegisterServer(vb::Trim(path), sys::kRegister));
    case 1: return static_cast<short>(sys::fnRegisterServer(vb::Trim(path), sys::kUnregister));
    default: return 0;
    }
}

void frmLaunch::Form_Load()
{
    // The program ends through shell::endProgram only; the hidden start-up window is what
    // keeps it alive while the main window is hidden.
    qApp->setQuitOnLastWindowClosed(false);

    // A backup or restore that a crash interrupted is undone before anything opens the files.
    const QString problems = recoverDataFiles(sys::FileSystemObject(), sys::localPath(sys::programFolder()),
                                              sys::logicalDrives());
    if (!problems.isEmpty())
        ui::MsgBox(problems, ui::vbCritical, QStringLiteral("Lumora"));

    try {
        lawdb::procConnectLawDBs();
    } catch (const ado::Error& e) {
        reportLawDatabaseFault(e.Description());
        shell::endProgram(1);
        return;
    } catch (const std::exception& e) {
        reportLawDatabaseFault(QString::fromLocal8Bit(e.what()));
        shell::endProgram(1);
        return;
    }

    setWidth(5370);
    setHeight(3700);
    Hide();
    ui::form<main>().Show(ui::vbModeless);

    vb::skip([] { fnRegisterOcx(sys::programPath(QStringLiteral("MSDATGRD.ocx")), 0); });
}
