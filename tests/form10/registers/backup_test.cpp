// The backup window on temporary folders standing in for drive roots: the window as it opens,
// the search for the backup folder, Back Up and Restore through its buttons (the database
// files read directly), the copies failing at each step, the blinking label, and the main
// window opening it.
#include "register_support.h"

#include "form10/registers/BackUpCopies.h"
#include "form10/registers/frmBackUpRestore.h"
#include "platform/db/Error.h"
#include "platform/sys/FileSystem.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/MousePointer.h"
#include "platform/ui/Timer.h"
#include "platform/ui/Toolbar.h"
#include "shell/main.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace f10test;

namespace {

const QString kFolder = "Lumora1BackUp";
const QString kSuccessTitle = "           Successfully      ";

// Schema and rows of every table: equal for two files that hold the same database.
QString content(const QString& file)
{
    QString out;
    for (const Row& object : query(file, "SELECT type, name, sql FROM sqlite_master ORDER BY name")) {
        out += object.at("name").text + ": " + object.at("sql").text + "\n";
        if (object.at("type").text != "table")
            continue;
        for (const Row& row : query(file, QString("SELECT * FROM [%1] ORDER BY rowid").arg(object.at("name").text)))
            for (const auto& [name, cell] : row)
                out += name + '=' + cell.type + ':' + cell.text + (name == row.rbegin()->first ? "\n" : ";");
    }
    return out;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes, qint64 at = 0)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(at);
    f.write(bytes);
}

QStringList filesIn(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

QStringList dataFileNames()
{
    QStringList names;
    for (const char* name : kDataFiles)
        names << name;
    names.sort();
    return names;
}

// What the tests of the window share: its own program folder, two temporary drive roots,
// every message answered and recorded.
class BackUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetModule2();
        ui::clearShownMessages();
        sys::setLogicalDrives(QStringList{root(driveA), root(driveB)});
    }
    void TearDown() override
    {
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
        sys::setLogicalDrives(std::nullopt);
        resetModule2();
    }
    static QString root(const QTemporaryDir& drive) { return drive.path() + "/"; }
    static QString backUp(const QTemporaryDir& drive, const QString& name = {})
    {
        return drive.path() + "/" + kFolder + (name.isEmpty() ? QString() : "/" + name);
    }
    static void makeFolder(const QTemporaryDir& drive) { ASSERT_TRUE(QDir(drive.path()).mkdir(kFolder)); }
    QString program(const QString& name) const { return folder.file(name); }

    frmBackUpRestore& openWindow()
    {
        w = &ui::form<frmBackUpRestore>();
        w->Show();
        QApplication::processEvents();
        return *w;
    }
    void click(QWidget* widget)
    {
        QTest::mouseClick(widget, Qt::LeftButton);
        QApplication::processEvents();
    }
    void clickBackUp() { click(w->Command7); }
    void clickRestore() { click(w->Command6); }

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
        clickBackUp();
        ASSERT_EQ(last().prompt, " File  is Backed Up");
        for (const char* name : kDataFiles)
            exec(program(name), "CREATE TABLE Since (x TEXT)");
    }
    // New or set-aside files a copy left in the program folder.
    QStringList setAside() const { return filesIn(folder.path()).filter(QRegularExpression("\\.(new|old)$")); }
    const std::vector<ui::MessageRecord>& messages() const { return ui::shownMessages(); }
    ui::MessageRecord last() const { return messages().empty() ? ui::MessageRecord{} : messages().back(); }
    void expectBackedUp(const ui::MessageRecord& m)
    {
        EXPECT_EQ(m.prompt, " File  is Backed Up");
        EXPECT_EQ(m.title, kSuccessTitle);
        EXPECT_EQ(m.icon(), ui::vbInformation);
    }
    // A Restore failure: the critical message names the file and says nothing changed.
    void expectRestoreRefused(const QString& file, const QString& reason, const std::map<QString, QByteArray>& before)
    {
        const ui::MessageRecord m = last();
        EXPECT_TRUE(m.prompt.contains(file)) << m.prompt.toStdString();
        EXPECT_TRUE(m.prompt.contains(reason)) << m.prompt.toStdString();
        EXPECT_TRUE(m.prompt.contains("Nothing was restored")) << m.prompt.toStdString();
        EXPECT_EQ(m.title, "Error");
        EXPECT_EQ(m.icon(), ui::vbCritical);
        EXPECT_TRUE(programFiles() == before);
        EXPECT_EQ(setAside(), QStringList());
        EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    }

    TestProgramFolder folder;
    QTemporaryDir driveA, driveB;
    ui::ScopedMsgBoxResponder responder;
    frmBackUpRestore* w = nullptr;
};

TEST_F(BackUpTest, TheWindowAsItOpens)
{
    procOpenForm10DB();
    const ado::ConnectionPtr held = Module2().Form10Connection;
    openWindow();
    // Loading lets go of the shared Form 10 connection.
    EXPECT_EQ(Module2().Form10Connection->State(), ado::adStateClosed);
    EXPECT_EQ(held->State(), ado::adStateClosed);

    EXPECT_EQ(w->Caption(), "    BackUp / Restore");
    EXPECT_EQ(ui::bgrOf(w->palette().color(QPalette::Window)), ui::RGB(157, 79, 124));
    EXPECT_NEAR(w->Left(), 8770, ui::kTwipsPerPixel);
    EXPECT_NEAR(w->Top(), 970, ui::kTwipsPerPixel);
    EXPECT_FALSE(w->isModal());
    const auto geometry = [](auto* c) { return QRect(c->Left(), c->Top(), c->Width(), c->Height()); };
    EXPECT_EQ(geometry(w->Command7), QRect(600, 480, 975, 375));
    EXPECT_EQ(geometry(w->Command6), QRect(1680, 480, 975, 375));
    EXPECT_EQ(w->Command7->Caption(), "BackUp");
    EXPECT_EQ(w->Command6->Caption(), "Restore");
    EXPECT_EQ(QRect(ui::leftTwips(w->Label2), ui::topTwips(w->Label2), ui::widthTwips(w->Label2),
                    ui::heightTwips(w->Label2)),
              QRect(360, 120, 1335, 255));
    EXPECT_EQ(w->Label2->font().family(), "MS Sans Serif");
    EXPECT_DOUBLE_EQ(w->Label2->font().pointSizeF(), 9.75);
    EXPECT_EQ(w->cboDrive->Left(), 1680);
    EXPECT_EQ(w->cboDrive->Top(), 0);
    EXPECT_DOUBLE_EQ(w->cboDrive->font().pointSizeF(), 12);
    EXPECT_EQ(QRect(ui::leftTwips(w->Image1), ui::topTwips(w->Image1), ui::widthTwips(w->Image1),
                    ui::heightTwips(w->Image1)),
              QRect(120, 480, 360, 330));
    EXPECT_EQ(w->Image1->toolTip(), "Click to Cancel");
    EXPECT_EQ(w->Timer1->Interval(), 150);
    EXPECT_TRUE(w->Timer1->Enabled());
    // Every control lies inside the window, the drive box wide enough for its roots.
    for (QWidget* c : std::initializer_list<QWidget*>{w->Command7, w->Command6, w->Label2, w->cboDrive, w->Image1})
        EXPECT_TRUE(w->rect().contains(c->geometry())) << c->objectName().toStdString();
    EXPECT_GE(w->cboDrive->width(), w->cboDrive->fontMetrics().horizontalAdvance(root(driveA)));

    // Back Up holds the focus first, in yellow; Tab goes to Restore, then to the drive box.
    EXPECT_EQ(w->focusWidget(), w->Command7);
    EXPECT_EQ(w->Command7->BackColor(), ui::RGB(255, 255, 0));
    EXPECT_EQ(w->Command6->BackColor(), ui::RGB(0, 255, 0));
    QTest::keyClick(w->Command7, Qt::Key_Tab);
    EXPECT_EQ(w->focusWidget(), w->Command6);
    EXPECT_EQ(w->Command7->BackColor(), ui::RGB(0, 255, 0));
    EXPECT_EQ(w->Command6->BackColor(), ui::RGB(255, 255, 0));
    QTest::keyClick(w->Command6, Qt::Key_Tab);
    EXPECT_EQ(w->focusWidget(), w->cboDrive);
    EXPECT_EQ(w->Command6->BackColor(), ui::RGB(0, 255, 0));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}

TEST_F(BackUpTest, WithNoBackUpFolderBackUpMakesOneOnTheFirstDriveWithAllThreeFiles)
{
    openWindow();
    EXPECT_EQ(w->Label2->text(), "Select  Path");
    EXPECT_TRUE(w->cboDrive->isEnabled());
    EXPECT_EQ(w->cboDrive->ListCount(), 2);
    EXPECT_EQ(w->cboDrive->Text(), root(driveA));
    EXPECT_EQ(w->chosenDrive(), root(driveA));
    EXPECT_EQ(w->backUpRoot(), "");

    // A step of the program is half-way through a change while the copies are taken.
    auto writer = openForm10Connection();
    writer->BeginTrans();
    writer->Execute("INSERT INTO tblSales (cCode, cMonth, Party) VALUES ('', 'June', 'Not yet saved')");
    clickBackUp();
    writer->RollbackTrans();

    ASSERT_EQ(messages().size(), 1u) << last().prompt.toStdString();
    expectBackedUp(last());
    EXPECT_EQ(filesIn(backUp(driveA)), dataFileNames());
    for (const char* name : kDataFiles)
        EXPECT_EQ(content(backUp(driveA, name)), content(program(name))) << name;
    EXPECT_EQ(count(backUp(driveA, "nwForm10DB.mdb"), "tblSales"), 0);
    EXPECT_FALSE(QDir(backUp(driveB)).exists());
    // The backup root stays unknown until the window is activated again.
    EXPECT_EQ(w->Label2->text(), "Select  Path");
    EXPECT_TRUE(w->cboDrive->isEnabled());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
}

TEST_F(BackUpTest, ADriveHoldingTheFolderIsFixedAsTheBackUpPath)
{
    makeFolder(driveB);
    openWindow();
    EXPECT_EQ(w->cboDrive->Text(), root(driveB));
    EXPECT_FALSE(w->cboDrive->isEnabled());
    EXPECT_TRUE(w->cboDrive->isVisible());
    EXPECT_EQ(w->Label2->text(), "BackUp  Path ");
    EXPECT_EQ(w->backUpRoot(), root(driveB));
    clickBackUp();
    expectBackedUp(last());
    EXPECT_EQ(filesIn(backUp(driveB)), dataFileNames());
    EXPECT_FALSE(QDir(backUp(driveA)).exists());
}

TEST_F(BackUpTest, OfTwoDrivesHoldingTheFolderTheLaterInTheListWins)
{
    makeFolder(driveA);
    makeFolder(driveB);
    for (const QTemporaryDir* later : {&driveB, &driveA}) {
        const QTemporaryDir* earlier = later == &driveB ? &driveA : &driveB;
        sys::setLogicalDrives(QStringList{root(*earlier), root(*later)});
        openWindow();
        EXPECT_EQ(w->backUpRoot(), root(*later));
        EXPECT_EQ(w->cboDrive->Text(), root(*later));
        ui::clearShownMessages();
        clickBackUp();
        expectBackedUp(last());
        EXPECT_EQ(filesIn(backUp(*later)), dataFileNames());
        EXPECT_TRUE(filesIn(backUp(*earlier)).isEmpty());
        QDir(backUp(*later)).removeRecursively();
        makeFolder(*later);
        w->Unload();
        QApplication::processEvents();
    }
    // The same search as a function: it selects the entry and records the root.
    openWindow();
    sys::setLogicalDrives(QStringList{root(driveB), root(driveA)});
    w->procDriveList();
    EXPECT_EQ(w->fnBackUpExists(*w->cboDrive), root(driveA));
    EXPECT_EQ(w->cboDrive->ListIndex(), 1);
    EXPECT_EQ(w->backUpRoot(), root(driveA));
    QDir(backUp(driveA)).removeRecursively();
    QDir(backUp(driveB)).removeRecursively();
    EXPECT_EQ(w->fnBackUpExists(*w->cboDrive), "NIL");
}

TEST_F(BackUpTest, BackUpTwiceReplacesTheCopiesWithTheLaterData)
{
    openWindow();
    clickBackUp();
    exec(program("TAXDATA.mdb"), "CREATE TABLE Later (x TEXT); INSERT INTO Later VALUES ('second')");
    exec(program("nwForm10DB.mdb"), "INSERT INTO tblSales (cCode, cMonth, Party) VALUES ('', 'June', 'Later')");
    ASSERT_NE(content(backUp(driveA, "TAXDATA.mdb")), content(program("TAXDATA.mdb")));
    clickBackUp();
    ASSERT_EQ(messages().size(), 2u);
    expectBackedUp(messages()[0]);
    expectBackedUp(messages()[1]);
    EXPECT_EQ(filesIn(backUp(driveA)), dataFileNames());   // nothing set aside or half made is left
    for (const char* name : kDataFiles)
        EXPECT_EQ(content(backUp(driveA, name)), content(program(name))) << name;
}

TEST_F(BackUpTest, AnotherDriveChosenWithTheKeysAndEnterGoesToBackUp)
{
    openWindow();
    w->cboDrive->setFocus();
    QApplication::processEvents();
    QTest::keyClick(w->cboDrive, Qt::Key_Down);
    EXPECT_EQ(w->chosenDrive(), root(driveB));
    QTest::keyClick(w->cboDrive, Qt::Key_Return);
    EXPECT_EQ(w->focusWidget(), w->Command7);
    EXPECT_EQ(w->Command7->BackColor(), ui::RGB(255, 255, 0));
    QTest::keyClick(w->Command7, Qt::Key_Space);
    QApplication::processEvents();
    expectBackedUp(last());
    EXPECT_EQ(filesIn(backUp(driveB)), dataFileNames());
    EXPECT_FALSE(QDir(backUp(driveA)).exists());
}

TEST_F(BackUpTest, EachActivationListsTheDrivesOnceAndSearchesAfresh)
{
    openWindow();
    clickBackUp();
    ui::Form other("other");
    other.Show();
    QApplication::processEvents();
    w->Show();   // back to the backup window
    QApplication::processEvents();
    EXPECT_EQ(w->cboDrive->ListCount(), 2);
    // The folder the first Back Up made is found now.
    EXPECT_EQ(w->Label2->text(), "BackUp  Path ");
    EXPECT_FALSE(w->cboDrive->isEnabled());
    // A drive that holds the folder no more leaves the choice open again.
    QDir(backUp(driveA)).removeRecursively();
    other.Show();
    w->Show();
    QApplication::processEvents();
    EXPECT_EQ(w->cboDrive->ListCount(), 2);
    EXPECT_EQ(w->backUpRoot(), "");
    EXPECT_EQ(w->Label2->text(), "Select  Path");
    EXPECT_TRUE(w->cboDrive->isEnabled());
}

TEST_F(BackUpTest, ARestoreFromABackUpMadeHereBringsBackAllThreeFiles)
{
    std::map<QString, QString> contentAtBackUp;
    for (const char* name : kDataFiles)
        contentAtBackUp[name] = content(program(name));
    backUpThenChangeEveryFile();
    clickRestore();
    ASSERT_EQ(messages().size(), 2u) << last().prompt.toStdString();
    EXPECT_EQ(last().prompt, "File is   Restored    ");
    EXPECT_EQ(last().title, kSuccessTitle);
    EXPECT_EQ(last().icon(), ui::vbInformation);
    for (const char* name : kDataFiles)
        EXPECT_EQ(content(program(name)), contentAtBackUp[name]) << name;
    EXPECT_EQ(setAside(), QStringList());
}

TEST_F(BackUpTest, RestoreWithABackUpFileMissingOrDamagedChangesNothing)
{
    backUpThenChangeEveryFile();
    const auto before = programFiles();

    const QString missing = backUp(driveA, "Form10Data.mdb");
    const QByteArray kept = bytesOf(missing);
    QFile::remove(missing);
    clickRestore();
    expectRestoreRefused(missing, "missing", before);
    writeBytes(missing, kept);

    const QString text = backUp(driveA, "TAXDATA.mdb");
    const QByteArray taxKept = bytesOf(text);
    QFile::remove(text);
    writeBytes(text, "not a database at all");
    clickRestore();
    expectRestoreRefused(text, "not a sound database", before);
    QFile::remove(text);
    writeBytes(text, taxKept);

    // The header is right, a page of the tables is not.
    const QString damaged = backUp(driveA, "nwForm10DB.mdb");
    writeBytes(damaged, QByteArray(4096, '\xff'), 4096 * 3);
    clickRestore();
    expectRestoreRefused(damaged, "not a sound database", before);
    EXPECT_EQ(messages().size(), 4u);
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
    clickRestore();
    QDir::setCurrent(current);
    ASSERT_EQ(messages().size(), 1u);
    expectRestoreRefused(backUp(driveA), "No backup was found", before);
}

TEST_F(BackUpTest, BackUpToARootThatCannotBeWrittenSaysSoAndTheWindowGoesOn)
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
    clickBackUp();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(last().prompt.contains(lockedRoot + kFolder)) << last().prompt.toStdString();
    EXPECT_TRUE(last().prompt.contains("Permission denied")) << last().prompt.toStdString();
    EXPECT_EQ(last().title, ui::kDefaultTitle);
    EXPECT_EQ(last().icon(), 0);
    EXPECT_FALSE(QDir(lockedRoot + kFolder).exists());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    ::chmod(QFile::encodeName(locked.path()).constData(), 0755);

    // The window goes on: another drive takes the backup.
    ASSERT_TRUE(w->isVisible());
    w->cboDrive->setListIndex(1);
    clickBackUp();
    expectBackedUp(last());
    EXPECT_EQ(filesIn(backUp(driveB)), dataFileNames());
}

TEST_F(BackUpTest, WithNoDriveListedNeitherButtonCopiesAnything)
{
    sys::setLogicalDrives(QStringList{});
    const auto before = programFiles();
    openWindow();
    EXPECT_EQ(w->cboDrive->ListCount(), 0);
    clickBackUp();
    EXPECT_EQ(last().prompt, "Choose the drive to back up to.");
    clickRestore();
    expectRestoreRefused("no drive is chosen", "No backup was found", before);
}

// A file-system object whose n-th move fails, as a full disk or a pulled drive would.
class FailingMoves : public sys::FileSystemObject {
public:
    explicit FailingMoves(int failAt) : failAt_(failAt) {}
    void MoveFile(const QString& source, const QString& destination) const override
    {
        if (++moves_ == failAt_)
            throw ado::Error(70, "Permission denied", "FileSystemObject");
        sys::FileSystemObject::MoveFile(source, destination);
    }
    int moves() const { return moves_; }

private:
    int failAt_;
    mutable int moves_ = 0;
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
        FailingMoves fso(failAt);
        try {
            copyDataFiles(fso, copies);
            ADD_FAILURE() << "no failure at move " << failAt;
        } catch (const ado::Error& e) {
            const QString failed = program(kDataFiles[(failAt - 1) / 2]);
            EXPECT_TRUE(e.Description().contains(failed + " could not be put in place")) << e.Description().toStdString();
            EXPECT_TRUE(e.Description().contains("Permission denied"));
        }
        EXPECT_TRUE(programFiles() == before) << "failing move " << failAt;
        EXPECT_EQ(setAside(), QStringList()) << failAt;
    }
    FailingMoves none(0);
    copyDataFiles(none, copies);
    EXPECT_EQ(none.moves(), 6);
    EXPECT_FALSE(programFiles() == before);
}

TEST_F(BackUpTest, TheLabelShowsForThreeTicksAndHidesForOne)
{
    // The ticks come from the test alone: the running timer is stopped before the event loop
    // could deliver one of its own.
    w = &ui::form<frmBackUpRestore>();
    w->Timer1->setEnabled(false);
    w->Show();
    QApplication::processEvents();
    const QString caption = w->Label2->text();
    QString seen;
    for (int tick = 0; tick < 8; ++tick) {
        emit w->Timer1->Tick();
        seen += w->Label2->isVisible() ? 'S' : 'h';
        EXPECT_EQ(ui::bgrOf(w->Label2->palette().color(QPalette::WindowText)), ui::RGB(255, 255, 255));
    }
    EXPECT_EQ(seen, "SSShSSSh");
    EXPECT_EQ(w->Label2->text(), caption);
}

TEST_F(BackUpTest, TheCancelPictureClosesTheWindow)
{
    openWindow();
    click(w->Image1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(ui::formLoaded<frmBackUpRestore>());
    EXPECT_TRUE(messages().empty());
}

TEST_F(BackUpTest, TheMainWindowsToolbarButtonAndPictureOpenIt)
{
    main& m = ui::form<main>();
    m.Show();
    ui::Button* button = m.Toolbar2->findButton("bkp");
    ASSERT_TRUE(button);
    m.Toolbar2->press(button);
    QApplication::processEvents();
    ASSERT_TRUE(ui::formLoaded<frmBackUpRestore>());
    EXPECT_TRUE(ui::form<frmBackUpRestore>().isVisible());
    EXPECT_EQ(ui::Form::activeForm(), &ui::form<frmBackUpRestore>());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    ui::form<frmBackUpRestore>().Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QTest::mouseClick(m.Picture2, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(ui::formLoaded<frmBackUpRestore>());
    EXPECT_TRUE(ui::form<frmBackUpRestore>().isVisible());
    EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    EXPECT_TRUE(messages().empty());
}

// The register screen open beside the backup window: a month saved, backed up, changed and
// saved again, then restored; the screen's own read of the month shows the backed-up bills.
class RestoreRegisterTest : public RegisterScreen {
protected:
    void SetUp() override
    {
        sys::setLogicalDrives(QStringList{drive.path() + "/"});
        RegisterScreen::SetUp();
    }
    void TearDown() override
    {
        RegisterScreen::TearDown();
        sys::setLogicalDrives(std::nullopt);
    }
    QStringList parties(ui::FlexGrid* g) const
    {
        QStringList out;
        for (int r = 1; r < g->Rows(); ++r)
            if (!g->TextMatrix(r, 2).isEmpty())
                out << g->TextMatrix(r, 2);
        return out;
    }
    void show(ui::Form& window)
    {
        window.Show();
        QApplication::processEvents();
    }
    QTemporaryDir drive;
};

TEST_F(RestoreRegisterTest, RestoreAfterAChangedRegisterBringsBackTheMonthAsBackedUp)
{
    keyBill(true, {"02-06-26", "Alpha Agencies", "T1", "B1", P4, "100", "4", "0"});
    keyBill(false, {"03-06-26", "Buyer One", "S1", "X1", S4, "50", "2", "0"});
    click(form->cmdAdd);
    ASSERT_EQ(count(db, "tblPurchase1"), 1);
    frmBackUpRestore& backup = ui::form<frmBackUpRestore>();
    show(backup);
    click(backup.Command7);
    ASSERT_EQ(lastPrompt(), " File  is Backed Up");

    show(*form);
    keyBill(true, {"04-06-26", "Beta Traders", "T2", "B2", P12, "200", "25", "0"});
    click(form->cmdAdd);
    ASSERT_EQ(count(db, "tblPurchase1"), 2);
    ASSERT_EQ(parties(form->fg1), (QStringList{"Alpha Agencies", "Beta Traders"}));

    show(backup);
    click(backup.Command6);
    ASSERT_EQ(lastPrompt(), "File is   Restored    ");
    // Activation reads the month's registers again, from the restored file.
    show(*form);
    EXPECT_EQ(parties(form->fg1), QStringList{"Alpha Agencies"});
    EXPECT_EQ(parties(form->fg2), QStringList{"Buyer One"});
    EXPECT_EQ(form->txtTotal->Text(), "104.00");
    // And a later save works on the restored file.
    click(form->cmdAdd);
    EXPECT_EQ(count(db, "tblPurchase1"), 1);
}

} // namespace
