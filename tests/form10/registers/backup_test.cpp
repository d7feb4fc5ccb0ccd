// The backup window on temporary folders standing in for drive roots.
#include "backup_support.h"

#include "HeldWriteLock.h"
#include "TextFit.h"
#include "platform/db/Error.h"
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Timer.h"
#include "platform/ui/controls/Toolbar.h"
#include "shell/main.h"

#include <QFile>
#include <QScopeGuard>

#include <algorithm>
#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace f10test;

namespace {

// Runs `run` in a child process; returns the text it gives back.
QString inChild(const std::function<QString()>& run)
{
    int out[2];
    if (::pipe(out) != 0)
        return "<no pipe>";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        const QByteArray said = run().toUtf8();
        [[maybe_unused]] const ssize_t written = ::write(out[1], said.constData(), size_t(said.size()));
        _exit(0);
    }
    ::close(out[1]);
    QByteArray got;
    char chunk[4096];
    for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;)
        got.append(chunk, n);
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(got);
}

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
            EXPECT_EQ(entriesIn(backUp(*d)), d == c.chosen ? kDataFileNames : QStringList());
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

TEST_F(BackUpTest, TheDriveBoxShowsALongPathWholeOrByItsTwoEndsWithTheWholeInItsToolTip)
{
    QTemporaryDir media;
    const QString volume = media.path() + "/media/practitioner/My Passport Ultra 2TB/";
    ASSERT_TRUE(QDir().mkpath(volume));
    sys::setLogicalDrives(QStringList{root(driveA), volume});
    for (bool holding : {false, true}) {
        if (holding) {
            ASSERT_TRUE(QDir(volume).mkdir(kFolder));
        }
        openWindow();
        w->cboDrive->setListIndex(1);
        EXPECT_EQ(w->cboDrive->Text(), volume);
        EXPECT_EQ(unreadableTexts(w), "");
        EXPECT_TRUE(w->cboDrive->shownText().endsWith("Ultra 2TB/")) << w->cboDrive->shownText().toStdString();
        w->Unload();
        QApplication::processEvents();
    }
}

// Each refusal names the file and says why in plain words, the engine's words in brackets.
TEST_F(BackUpTest, RestoreRefusesABackUpFileThatIsMissingDamagedOrNotTheKindItReplaces)
{
    backUpThenChangeEveryFile();
    const auto before = programFiles();
    const QString law = program("0909214SD01.mdb");
    const auto copyOf = [](const QString& from) { return [from](const QString& f) { writeBytes(f, bytesOf(from)); }; };
    struct Case { const char* file; std::function<void(const QString&)> spoil; QStringList says; };
    const Case cases[] = {
        {"Form10Data.mdb", [](const QString& f) { QFile::remove(f); }, {"is missing."}},
        {"TAXDATA.mdb", [](const QString& f) { writeBytes(f, "not a database at all"); },
         {" cannot be used: it is damaged (file is not a database)."}},
        // The header is right, a page of the tables is not.
        {"nwForm10DB.mdb", [](const QString& f) { writeBytes(f, QByteArray(4096, '\xff'), 4096 * 3); },
         {" cannot be used: it is damaged ("}},
        // The 16 bytes of the header are right, the page size after them is not.
        {"Form10Data.mdb", [](const QString& f) { writeBytes(f, QByteArray("\x03\x00", 2), 16); },
         {" cannot be used: it is damaged (file is not a database)."}},
        {"nwForm10DB.mdb", copyOf(law), {" is not a Form 10 database: it has no table tblPurchase1, "}},
        {"TAXDATA.mdb", copyOf(law), {" is not one of Lumora's data files (user_version 0 where 1 is expected)."}},
        {"Form10Data.mdb", copyOf(program("nwForm10DB.mdb")), {" is not one of Lumora's data files"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says[0].toStdString());
        const QString file = backUp(driveA, c.file);
        const QByteArray kept = bytesOf(file);
        c.spoil(file);
        ui::clearShownMessages();
        click(w->Command6);
        EXPECT_EQ(messages().size(), 1u);
        EXPECT_TRUE(last().prompt.startsWith("The backup file " + file)) << last().prompt.toStdString();
        expectRestoreRefused(c.says, before);
        writeBytes(file, kept);
    }
    // Every table the builder makes is one the Form 10 database must have.
    for (const Row& table : query(backUp(driveA, "nwForm10DB.mdb"), "SELECT name FROM sqlite_master WHERE type = 'table'")) {
        const QString name = table.at("name").text;
        if (name == "tblDealer")
            continue;
        const QString file = backUp(driveA, "nwForm10DB.mdb");
        const QByteArray kept = bytesOf(file);
        exec(file, "DROP TABLE " + name);
        click(w->Command6);
        expectRestoreRefused({file + " is not a Form 10 database: it has no table " + name + "."}, before);
        writeBytes(file, kept);
    }
    // A backup from before the dealer list is restored: the list is made when it is missing.
    exec(backUp(driveA, "nwForm10DB.mdb"), "DROP TABLE tblDealer");
    ui::clearShownMessages();
    click(w->Command6);
    EXPECT_TRUE(last().prompt.startsWith(kRestored)) << last().prompt.toStdString();
}

TEST_F(BackUpTest, RestoreKeepsTheFilesItReplacesTheLastFiveTimesAndEachFilesMode)
{
    backUpThenChangeEveryFile();
    // The program's own data files may hold anything: the user's tables pass.
    for (const char* name : {"TAXDATA.mdb", "Form10Data.mdb"})
        exec(backUp(driveA, name), "CREATE TABLE Mine (x TEXT); INSERT INTO Mine VALUES ('kept by the user')");
    const auto backedUp = dumps(backUp(driveA));
    ::chmod(QFile::encodeName(program("TAXDATA.mdb")).constData(), 0444);
    ::chmod(QFile::encodeName(program("nwForm10DB.mdb")).constData(), 0640);
    const auto modes = [this] {
        QStringList out;
        for (const QString& name : kDataFileNames) {
            struct stat status {};
            ::stat(QFile::encodeName(program(name)).constData(), &status);
            out << QString::number(status.st_mode & 0777, 8);
        }
        return out;
    };
    const QStringList modesBefore = modes();
    ASSERT_EQ(modesBefore.mid(1), (QStringList{"444", "640"}));
    const auto clockBack = qScopeGuard([] { sys::setClock(QDateTime(QDate(2026, 6, 15), QTime(10, 30))); });
    QStringList keptFolders;
    // Three restores in one second, then one a day: the oldest two go, the later of a second first.
    for (int round = 1; round <= 7; ++round) {
        SCOPED_TRACE(round);
        const int day = std::max(1, round - 2);
        sys::setClock(QDateTime(QDate(2026, 7, day), QTime(9, 5, 7)));
        exec(program("Form10Data.mdb"), QString("CREATE TABLE Round%1 (x TEXT)").arg(round));
        const auto replaced = dumps(folder.path());
        click(w->Command6);
        const QString kept = folder.file(QString("Replaced-2026-07-%1-090507").arg(day, 2, 10, QChar('0'))
                                         + (round >= 2 && round <= 3 ? QString("-%1").arg(round) : QString()));
        keptFolders << QFileInfo(kept).fileName();
        EXPECT_EQ(last().prompt, kRestored + "\n\nThe data files it replaced are kept in\n" + kept);
        EXPECT_TRUE(dumps(kept) == replaced);
        EXPECT_TRUE(dumps(folder.path()) == backedUp);
        EXPECT_EQ(modes(), modesBefore);
    }
    EXPECT_EQ(entriesIn(folder.path(), {"Replaced-*"}), keptFolders.mid(2));
}

TEST_F(BackUpTest, RestoreWithoutABackUpFolderSaysSoAndNeverReadsTheCurrentFolder)
{
    // A folder of that name under the process's current folder is no backup of this program.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir(elsewhere.path()).mkdir(kFolder));
    for (const QString& name : kDataFileNames)
        ASSERT_TRUE(QFile::copy(program(name), elsewhere.path() + "/" + kFolder + "/" + name));
    exec(elsewhere.path() + "/" + kFolder + "/TAXDATA.mdb", "CREATE TABLE Stranger (x TEXT)");
    const QString current = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    const auto before = programFiles();
    openWindow();
    click(w->Command6);
    QDir::setCurrent(current);
    ASSERT_EQ(messages().size(), 1u);
    expectRestoreRefused({backUp(driveA), "No backup was found"}, before);

    // Nor with no drive listed at all; and Back Up asks for one.
    w->Unload();
    sys::setLogicalDrives(QStringList{});
    openWindow();
    EXPECT_EQ(w->cboDrive->ListCount(), 0);
    click(w->Command7);
    expectFailure({"Choose the drive to back up to."});
    click(w->Command6);
    expectRestoreRefused({"no drive is chosen", "No backup was found"}, before);
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
    expectFailure({lockedRoot + kFolder + " could not be made: ", "(Permission denied)", "no backup folder was made"});
    EXPECT_FALSE(QFileInfo::exists(lockedRoot + kFolder));
    EXPECT_FALSE(QFileInfo::exists(lockedRoot + kFolder + ".new"));
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

    // A backup folder on a volume mounted read-only (in a child with a mount namespace of its
    // own) is said to be so, not called missing.
    const QString noMount = "<no read-only mount>";
    const QString said = inChild([&]() -> QString {
        const QByteArray place = QFile::encodeName(backUp(driveB));
        if ((::unshare(CLONE_NEWNS) != 0 && ::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount(place.constData(), place.constData(), nullptr, MS_BIND, nullptr) != 0
            || ::mount(nullptr, place.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            return noMount;
        try {
            backUpDataFiles(sys::FileSystemObject(), folder.path(), backUp(driveB));
            return "backed up";
        } catch (const ado::Error& e) {
            return e.Description();
        }
    });
    if (said == noMount)
        GTEST_SKIP() << "this system allows no read-only mount here";
    EXPECT_EQ(said, "The file " + program("TAXDATA.mdb") + " could not be copied to " + backUp(driveB, "TAXDATA.mdb")
                        + ": the place is read-only or permission is denied (Read-only file system).\n\nNothing was "
                          "backed up: the backup in " + backUp(driveB) + " is as it was.");
}

// A Save killed half-way leaves a journal beside the Form 10 database: Back Up rolls it back
// as the program's next open would, and copies the month as it was before that Save.
TEST_F(BackUpTest, BackUpRollsBackTheJournalOfAKilledSaveAndTellsAFileInUseFromADamagedOne)
{
    const QString db = program("nwForm10DB.mdb");
    exec(db, "INSERT INTO tblSales (cCode, cMonth, Party) VALUES ('', 'June', 'Saved before')");
    const pid_t saving = fork();
    if (saving == 0) {
        sqlite3* handle = nullptr;
        sqlite3_open(db.toUtf8().constData(), &handle);
        sqlite3_exec(handle, "PRAGMA cache_size = 10; BEGIN; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                             "FROM n WHERE i < 3000) INSERT INTO tblSales (cCode, cMonth, Party) "
                             "SELECT '', 'June', printf('%0200d', i) FROM n;",
                     nullptr, nullptr, nullptr);
        ::kill(::getpid(), SIGKILL);
    }
    ASSERT_GT(saving, 0);
    ::waitpid(saving, nullptr, 0);
    ASSERT_TRUE(QFile::exists(db + "-journal"));
    openWindow();
    click(w->Command7);
    expectBackedUpTo(driveA);
    EXPECT_EQ(count(backUp(driveA, "nwForm10DB.mdb"), "tblSales"), 1);
    EXPECT_EQ(count(db, "tblSales"), 1);
    EXPECT_FALSE(QFile::exists(db + "-journal"));

    // Another program writing to a file: try again later; nothing is called damaged.
    changeEveryProgramFile();
    const auto backedUp = dumps(backUp(driveA));
    const auto before = programFiles();
    for (ui::CommandButton* button : {w->Command7, w->Command6}) {
        HeldWriteLock other(db, 1300);
        ASSERT_TRUE(other.held());
        click(button);
        expectFailure({db, ": it is in use by another program; close that program and try again (database is locked)."});
        EXPECT_FALSE(last().prompt.contains("damaged"));
    }
    EXPECT_TRUE(dumps(backUp(driveA)) == backedUp);
    EXPECT_TRUE(programFiles() == before);
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
    const auto atBackUp = dumps(folder.path());

    show(*form);
    keyBill(true, {"04-06-26", "Beta Traders", "T2", "B2", P12, "200", "25", "0"});
    click(form->cmdAdd);
    ASSERT_EQ(parties(), (QStringList{"Alpha Agencies", "Beta Traders", "Buyer One"}));
    for (const char* name : {"TAXDATA.mdb", "Form10Data.mdb"})
        exec(folder.file(name), "CREATE TABLE Since (x TEXT)");

    const auto beforeRestore = dumps(folder.path());
    show(backup);
    click(backup.Command6);
    ASSERT_EQ(messages().size(), 4u) << lastPrompt().toStdString();   // two saves, Back Up, Restore
    EXPECT_TRUE(dumps(folder.path()) == atBackUp);
    EXPECT_EQ(entriesIn(folder.path(), {"*.new", "*.old", "*.plan*"}), QStringList());
    // The files it replaced are kept, and the message says where.
    const QStringList kept = entriesIn(folder.path(), {"Replaced-*"});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(lastPrompt() + messages().back().title,
              kRestored + "\n\nThe data files it replaced are kept in\n" + folder.file(kept[0]) + kSuccessTitle);
    EXPECT_TRUE(dumps(folder.file(kept[0])) == beforeRestore);
    // Activation reads the month's registers again, from the restored file.
    show(*form);
    EXPECT_EQ(parties(), (QStringList{"Alpha Agencies", "Buyer One"}));
    EXPECT_EQ(form->txtTotal->Text(), "104.00");
    // And a later save works on the restored file.
    click(form->cmdAdd);
    EXPECT_EQ(count(db, "tblPurchase1"), 1);
}

} // namespace
