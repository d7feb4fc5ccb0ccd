// The backup window on temporary folders standing in for drive roots.
#include "register_support.h"

#include "TextFit.h"
#include "form10/registers/BackUpCopies.h"
#include "form10/registers/frmBackUpRestore.h"
#include "platform/db/Error.h"
#include "platform/sys/FileSystem.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Toolbar.h"
#include "shell/main.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace f10test;

namespace {

const QString kFolder = "Lumora1BackUp";
const QString kBackedUp = " File  is Backed Up";
const QString kSuccessTitle = "           Successfully      ";

QStringList filesIn(const QString& folder, const QStringList& patterns = {})
{
    QStringList names = QDir(folder).entryList(patterns, QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

const QStringList kDataFileNames = {"Form10Data.mdb", "TAXDATA.mdb", "nwForm10DB.mdb"};   // sorted

QString root(const QTemporaryDir& drive) { return drive.path() + "/"; }
QString backUp(const QTemporaryDir& drive, const QString& name = {})
{
    return drive.path() + "/" + kFolder + (name.isEmpty() ? QString() : "/" + name);
}

// The window on its own program folder, with two temporary drive roots.
class BackUpTest : public Form10Test {
protected:
    void SetUp() override
    {
        Form10Test::SetUp();
        sys::setLogicalDrives(QStringList{root(driveA), root(driveB)});
    }
    void TearDown() override
    {
        Form10Test::TearDown();
        sys::setLogicalDrives(std::nullopt);
    }
    QString program(const QString& name) const { return folder.file(name); }
    void openWindow()
    {
        w = &ui::form<frmBackUpRestore>();
        w->Show();
        QApplication::processEvents();
    }
    std::map<QString, QByteArray> programFiles() const
    {
        std::map<QString, QByteArray> files;
        for (const char* name : kDataFiles)
            files[name] = bytesOf(program(name));
        return files;
    }
    // Backed up from the window, then every data file changed.
    void backUpThenChangeEveryFile()
    {
        openWindow();
        click(w->Command7);
        ASSERT_EQ(last().prompt, kBackedUp);
        for (const char* name : kDataFiles)
            exec(program(name), "CREATE TABLE Since (x TEXT)");
    }
    ui::MessageRecord last() const { return messages().empty() ? ui::MessageRecord{} : messages().back(); }
    // The success message, and each backup file holds the same data as the program's file.
    void expectBackedUpTo(const QTemporaryDir& drive)
    {
        EXPECT_EQ(last().prompt + last().title + QString::number(last().icon()),
                  kBackedUp + kSuccessTitle + QString::number(ui::vbInformation));
        EXPECT_EQ(filesIn(backUp(drive)), kDataFileNames);   // nothing set aside or half made is left
        for (const char* name : kDataFiles)
            EXPECT_EQ(dump(backUp(drive, name)), dump(program(name))) << name;
    }
    // A Restore failure: the critical message names the file and says nothing changed.
    void expectRestoreRefused(const QString& file, const QString& reason, const std::map<QString, QByteArray>& before)
    {
        expectMentions(last().prompt, {file, reason, "Nothing was restored"});
        EXPECT_EQ(last().title + QString::number(last().icon()), "Error" + QString::number(ui::vbCritical));
        EXPECT_TRUE(programFiles() == before);
        EXPECT_EQ(filesIn(folder.path(), {"*.new", "*.old"}), QStringList());
        EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    }

    QTemporaryDir driveA, driveB;
    frmBackUpRestore* w = nullptr;
};

TEST_F(BackUpTest, TheLaterDriveHoldingTheFolderIsTheBackUpPathAndWithNoneTheFirstIsOffered)
{
    struct Case { std::vector<QTemporaryDir*> order, holding; QTemporaryDir* chosen; };
    const Case cases[] = {
        {{&driveA, &driveB}, {}, &driveA},
        {{&driveA, &driveB}, {&driveB}, &driveB},
        {{&driveA, &driveB}, {&driveA, &driveB}, &driveB},
        {{&driveB, &driveA}, {&driveA, &driveB}, &driveA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holding.size() * 10 + (c.order[0] == &driveB));
        sys::setLogicalDrives(QStringList{root(*c.order[0]), root(*c.order[1])});
        for (QTemporaryDir* d : c.holding)
            ASSERT_TRUE(QDir(d->path()).mkdir(kFolder));
        openWindow();
        const bool found = !c.holding.empty();
        EXPECT_EQ(w->Label2->text(), found ? "BackUp  Path " : "Select  Path");
        EXPECT_EQ(w->cboDrive->isEnabled(), !found);
        EXPECT_EQ(w->cboDrive->ListCount(), 2);
        EXPECT_EQ(w->cboDrive->Text(), root(*c.chosen));
        EXPECT_EQ(w->backUpRoot(), found ? root(*c.chosen) : "");
        click(w->Command7);
        expectBackedUpTo(*c.chosen);
        for (QTemporaryDir* d : {&driveA, &driveB}) {
            EXPECT_EQ(filesIn(backUp(*d)), d == c.chosen ? kDataFileNames : QStringList());
            QDir(backUp(*d)).removeRecursively();
        }
        w->Unload();
        QApplication::processEvents();
    }
}

TEST_F(BackUpTest, BackUpTakesConsistentCopiesOfAllThreeFilesAndReplacesThemTheNextTime)
{
    procOpenForm10DB();
    const ado::ConnectionPtr held = Module2().Form10Connection;
    openWindow();
    // Loading lets go of the shared Form 10 connection.
    EXPECT_TRUE(held->State() == ado::adStateClosed && Module2().Form10Connection->State() == ado::adStateClosed);
    EXPECT_EQ(unreadableTexts(w), "");
    // A step of the program is half-way through a change while the copies are taken.
    auto writer = openForm10Connection();
    writer->BeginTrans();
    writer->Execute("INSERT INTO tblSales (cCode, cMonth, Party) VALUES ('', 'June', 'Not yet saved')");
    click(w->Command7);
    writer->RollbackTrans();
    ASSERT_EQ(messages().size(), 1u) << last().prompt.toStdString();
    expectBackedUpTo(driveA);
    EXPECT_EQ(count(backUp(driveA, "nwForm10DB.mdb"), "tblSales"), 0);
    // The backup root stays unknown until the window is activated again.
    EXPECT_EQ(w->Label2->text(), "Select  Path");
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);

    exec(program("TAXDATA.mdb"), "CREATE TABLE Later (x TEXT); INSERT INTO Later VALUES ('second')");
    exec(program("nwForm10DB.mdb"), "INSERT INTO tblSales (cCode, cMonth, Party) VALUES ('', 'June', 'Later')");
    click(w->Command7);
    ASSERT_EQ(messages().size(), 2u);
    expectBackedUpTo(driveA);

    // Each activation lists the drives once and searches afresh.
    ui::Form other("other");
    for (bool folderKept : {true, false}) {
        if (!folderKept)
            QDir(backUp(driveA)).removeRecursively();
        other.Show();
        QApplication::processEvents();
        w->Show();
        QApplication::processEvents();
        EXPECT_EQ(w->cboDrive->ListCount(), 2);
        EXPECT_EQ(w->backUpRoot(), folderKept ? root(driveA) : "");
        EXPECT_EQ(w->Label2->text(), folderKept ? "BackUp  Path " : "Select  Path");
        EXPECT_EQ(w->cboDrive->isEnabled(), !folderKept);
    }
}

TEST_F(BackUpTest, RestoreWithABackUpFileMissingOrDamagedChangesNothing)
{
    backUpThenChangeEveryFile();
    const auto before = programFiles();
    struct Case { const char* file; std::function<void(const QString&)> spoil; const char* reason; };
    const Case cases[] = {
        {"Form10Data.mdb", [](const QString& f) { QFile::remove(f); }, "missing"},
        {"TAXDATA.mdb", [](const QString& f) { writeBytes(f, "not a database at all"); }, "not a sound database"},
        // The header is right, a page of the tables is not.
        {"nwForm10DB.mdb", [](const QString& f) { writeBytes(f, QByteArray(4096, '\xff'), 4096 * 3); },
         "not a sound database"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString file = backUp(driveA, c.file);
        const QByteArray kept = bytesOf(file);
        c.spoil(file);
        ui::clearShownMessages();
        click(w->Command6);
        EXPECT_EQ(messages().size(), 1u);
        expectRestoreRefused(file, c.reason, before);
        writeBytes(file, kept);
    }
}

TEST_F(BackUpTest, RestoreWithoutABackUpFolderSaysSoAndNeverReadsTheCurrentFolder)
{
    // A folder of that name under the process's current folder is no backup of this program.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(elsewhere.path()).mkdir(kFolder));
    for (const char* name : kDataFiles)
        ASSERT_TRUE(QFile::copy(program(name), elsewhere.path() + "/" + kFolder + "/" + name));
    exec(elsewhere.path() + "/" + kFolder + "/TAXDATA.mdb", "CREATE TABLE Stranger (x TEXT)");
    const QString current = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    const auto before = programFiles();
    openWindow();
    click(w->Command6);
    QDir::setCurrent(current);
    ASSERT_EQ(messages().size(), 1u);
    expectRestoreRefused(backUp(driveA), "No backup was found", before);

    // Nor with no drive listed at all; and Back Up asks for one.
    w->Unload();
    sys::setLogicalDrives(QStringList{});
    openWindow();
    EXPECT_EQ(w->cboDrive->ListCount(), 0);
    click(w->Command7);
    EXPECT_EQ(last().prompt, "Choose the drive to back up to.");
    click(w->Command6);
    expectRestoreRefused("no drive is chosen", "No backup was found", before);
}

TEST_F(BackUpTest, BackUpToARootThatCannotBeWrittenSaysSoAndAnotherDriveChosenByKeysTakesIt)
{
    QTemporaryDir locked;
    QString lockedRoot = root(locked);
    ::chmod(QFile::encodeName(locked.path()).constData(), 0555);
    if (QDir(locked.path()).mkdir("probe")) {   // permissions do not bind this account
        QDir(locked.path()).rmdir("probe");
        lockedRoot = "/proc/";
    }
    sys::setLogicalDrives(QStringList{lockedRoot, root(driveB)});
    openWindow();
    click(w->Command7);
    ASSERT_EQ(messages().size(), 1u);
    expectMentions(last().prompt, {lockedRoot + kFolder, "Permission denied"});
    EXPECT_EQ(last().title, ui::kDefaultTitle);
    EXPECT_FALSE(QDir(lockedRoot + kFolder).exists());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    ::chmod(QFile::encodeName(locked.path()).constData(), 0755);

    // The window goes on: Down, Enter and Space back up to the other drive.
    ASSERT_TRUE(w->isVisible());
    w->cboDrive->setFocus();
    QApplication::processEvents();
    QTest::keyClick(w->cboDrive, Qt::Key_Down);
    EXPECT_EQ(w->chosenDrive(), root(driveB));
    QTest::keyClick(w->cboDrive, Qt::Key_Return);
    EXPECT_EQ(w->focusWidget(), w->Command7);
    QTest::keyClick(w->Command7, Qt::Key_Space);
    QApplication::processEvents();
    expectBackedUpTo(driveB);
}

// A file-system object whose n-th move fails, as a full disk or a pulled drive would.
class FailingMoves : public sys::FileSystemObject {
public:
    explicit FailingMoves(int failAt) : failAt_(failAt) {}
    void MoveFile(const QString& source, const QString& destination) const override
    {
        if (++moves == failAt_)
            throw ado::Error(70, "Permission denied", "FileSystemObject");
        sys::FileSystemObject::MoveFile(source, destination);
    }
    mutable int moves = 0;

private:
    int failAt_;
};

TEST_F(BackUpTest, AFailureWhilePuttingTheCopiesInPlacePutsBackWhatWasReplaced)
{
    backUpThenChangeEveryFile();
    const auto before = programFiles();
    std::vector<DataFileCopy> copies;
    for (const char* name : kDataFiles)
        copies.push_back({backUp(driveA, name), program(name)});
    // Each file takes two moves (the current one aside, the copy into its place).
    for (int failAt = 1; failAt <= 6; ++failAt) {
        SCOPED_TRACE(failAt);
        try {
            copyDataFiles(FailingMoves(failAt), copies);
            ADD_FAILURE() << "no failure";
        } catch (const ado::Error& e) {
            expectMentions(e.Description(), {program(kDataFiles[(failAt - 1) / 2]) + " could not be put in place",
                                             "Permission denied"});
        }
        EXPECT_TRUE(programFiles() == before);
        EXPECT_EQ(filesIn(folder.path(), {"*.new", "*.old"}), QStringList());
    }
    FailingMoves none(0);
    copyDataFiles(none, copies);
    EXPECT_EQ(none.moves, 6);
    EXPECT_FALSE(programFiles() == before);
}

TEST_F(BackUpTest, TheLabelShowsForThreeTicksAndHidesForOne)
{
    w = &ui::form<frmBackUpRestore>();
    w->Timer1->setEnabled(false);   // only the test's ticks
    w->Show();
    QString seen;
    for (int tick = 0; tick < 8; ++tick, seen += w->Label2->isVisible() ? 'S' : 'h')
        emit w->Timer1->Tick();
    EXPECT_EQ(seen, "SSShSSSh");
}

TEST_F(BackUpTest, TheMainWindowsToolbarButtonAndPictureOpenItAndItsPictureClosesIt)
{
    main& m = ui::form<main>();
    m.Show();
    ui::Button* button = m.Toolbar2->findButton("bkp");
    ASSERT_TRUE(button);
    for (bool byToolbar : {true, false}) {
        byToolbar ? m.Toolbar2->press(button) : QTest::mouseClick(m.Picture2, Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_TRUE(ui::formLoaded<frmBackUpRestore>());
        EXPECT_TRUE(ui::form<frmBackUpRestore>().isVisible());
        EXPECT_EQ(ui::Form::activeForm(), &ui::form<frmBackUpRestore>());
        EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
        click(ui::form<frmBackUpRestore>().Image1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(ui::formLoaded<frmBackUpRestore>());
    }
    EXPECT_TRUE(messages().empty());
}

using RestoreRegisterTest = RegisterScreen;

TEST_F(RestoreRegisterTest, RestoreAfterAChangedRegisterBringsBackAllThreeFilesAsBackedUp)
{
    QTemporaryDir drive;
    sys::setLogicalDrives(QStringList{root(drive)});
    const auto drivesBack = qScopeGuard([] { sys::setLogicalDrives(std::nullopt); });
    const auto show = [](ui::Form& window) { window.Show(), QApplication::processEvents(); };
    const auto parties = [this] {
        QStringList out;
        for (ui::FlexGrid* g : {form->fg1, form->fg2})
            for (int r = 1; r < g->Rows(); ++r)
                out << g->TextMatrix(r, 2);
        return out;
    };
    keyBill(true, {"02-06-26", "Alpha Agencies", "T1", "B1", P4, "100", "4", "0"});
    keyBill(false, {"03-06-26", "Buyer One", "S1", "X1", S4, "50", "2", "0"});
    click(form->cmdAdd);
    frmBackUpRestore& backup = ui::form<frmBackUpRestore>();
    show(backup);
    click(backup.Command7);
    ASSERT_EQ(lastPrompt(), kBackedUp);
    std::map<QString, QString> atBackUp;
    for (const char* name : kDataFiles)
        atBackUp[name] = dump(folder.file(name));

    show(*form);
    keyBill(true, {"04-06-26", "Beta Traders", "T2", "B2", P12, "200", "25", "0"});
    click(form->cmdAdd);
    ASSERT_EQ(parties(), (QStringList{"Alpha Agencies", "Beta Traders", "Buyer One"}));
    for (const char* name : {"TAXDATA.mdb", "Form10Data.mdb"})
        exec(folder.file(name), "CREATE TABLE Since (x TEXT)");

    show(backup);
    click(backup.Command6);
    ASSERT_EQ(messages().size(), 4u) << lastPrompt().toStdString();   // two saves, Back Up, Restore
    EXPECT_EQ(lastPrompt() + messages().back().title, "File is   Restored    " + kSuccessTitle);
    for (const char* name : kDataFiles)
        EXPECT_EQ(dump(folder.file(name)), atBackUp[name]) << name;
    EXPECT_EQ(filesIn(folder.path(), {"*.new", "*.old"}), QStringList());
    // Activation reads the month's registers again, from the restored file.
    show(*form);
    EXPECT_EQ(parties(), (QStringList{"Alpha Agencies", "Buyer One"}));
    EXPECT_EQ(form->txtTotal->Text(), "104.00");
    // And a later save works on the restored file.
    click(form->cmdAdd);
    EXPECT_EQ(count(db, "tblPurchase1"), 1);
}

} // namespace
