// Back Up and Restore change the three data files as one set: each change of a file the
// sequence makes fails in turn, every change from one on fails (a drive pulled), and a child
// process running the sequence is killed before each change; afterwards, once recovered, the
// set is whole, old or new, with nothing left beside it.
#include "backup_support.h"

#include "lawdb/LawDb.h"
#include "platform/db/Error.h"
#include "shell/ShellState.h"
#include "shell/frmLaunch.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QScopeGuard>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace f10test;

namespace {

// The file-system object of the sequence, counting each change it makes. At change `at` it
// fails that change (Fail), that one and every later one (FailFrom), or kills the process
// before it (Kill). `before` sees each change first.
class Steps : public sys::FileSystemObject {
public:
    enum Mode { None, Fail, FailFrom, Kill };
    Steps(int at = 0, Mode mode = None) : at_(at), mode_(mode) {}
    mutable int count = 0;
    std::function<void(const QString& change, const QString& path)> before;

    void CreateFolder(const QString& p) const override { next("CreateFolder", p), Base::CreateFolder(p); }
    void DeleteFolder(const QString& p) const override { next("DeleteFolder", p), Base::DeleteFolder(p); }
    void MoveFolder(const QString& s, const QString& d) const override { next("MoveFolder", s), Base::MoveFolder(s, d); }
    void CopyDatabaseFile(const QString& s, const QString& d) const override
    {
        next("CopyDatabaseFile", d), Base::CopyDatabaseFile(s, d);
    }
    void MoveFile(const QString& s, const QString& d) const override { next("MoveFile", s), Base::MoveFile(s, d); }
    void DeleteFile(const QString& p) const override { next("DeleteFile", p), Base::DeleteFile(p); }
    void SetMode(const QString& p, unsigned m) const override { next("SetMode", p), Base::SetMode(p, m); }
    void WriteTextFile(const QString& p, const QString& t) const override { next("WriteTextFile", p), Base::WriteTextFile(p, t); }
    void SyncFile(const QString& p) const override { next("SyncFile", p), Base::SyncFile(p); }
    void SyncFolder(const QString& p) const override { next("SyncFolder", p), Base::SyncFolder(p); }

private:
    using Base = sys::FileSystemObject;
    void next(const QString& change, const QString& path) const
    {
        ++count;
        if (before)
            before(change, path);
        if (mode_ == Kill && count == at_)
            ::kill(::getpid(), SIGKILL);
        if ((mode_ == Fail && count == at_) || (mode_ == FailFrom && count >= at_))
            throw ado::Error(ado::err::DiskFull, "Disk full", "FileSystemObject");
    }
    int at_;
    Mode mode_;
};

class BackUpSetTest : public BackUpTest {
protected:
    void SetUp() override
    {
        BackUpTest::SetUp();
        backUpDataFiles(sys::FileSystemObject(), folder.path(), backUp(driveA));
        changeEveryProgramFile();
        exec(program("nwForm10DB.mdb"), "INSERT INTO tblSales (cCode, cMonth, Party) VALUES ('', 'June', 'Since')");
        programEntries = entriesIn(folder.path());
        for (const QString& name : kDataFileNames) {
            programBytes[name] = bytesOf(program(name));
            backUpBytes[name] = bytesOf(backUp(driveA, name));
        }
        programSet = dumps(folder.path());
        backUpSet = dumps(backUp(driveA));
    }
    // Back to the state SetUp made.
    void reset()
    {
        for (const QString& name : entriesIn(folder.path(), {"Replaced-*"}))
            QDir(folder.file(name)).removeRecursively();
        QDir(backUp(driveA)).removeRecursively();
        QDir(driveA.path()).mkdir(kFolder);
        for (const QString& name : kDataFileNames) {
            writeBytes(program(name), programBytes[name]);
            writeBytes(backUp(driveA, name), backUpBytes[name]);
        }
        QDir(backUp(driveB)).removeRecursively();
    }

    struct Sequence {
        const char* name;
        std::function<void(const sys::FileSystemObject&)> run;
        QString target;                                // the folder whose set it replaces
        std::map<QString, QString> oldSet, newSet;     // no old set: no folder before
    };
    std::vector<Sequence> sequences()
    {
        const QString programFolder = folder.path();
        return {
            {"Back Up over a backup", [=, this](auto& fso) { backUpDataFiles(fso, programFolder, backUp(driveA)); },
             backUp(driveA), backUpSet, programSet},
            {"first Back Up", [=, this](auto& fso) { backUpDataFiles(fso, programFolder, backUp(driveB)); },
             backUp(driveB), {}, programSet},
            {"Restore", [=, this](auto& fso) { restoreDataFiles(fso, backUp(driveA), programFolder); }, programFolder,
             programSet, backUpSet},
        };
    }

    // "old" or "new" when the set is whole and nothing is left beside it; else what is wrong.
    QString setState(const Sequence& s)
    {
        const bool there = QFileInfo::exists(s.target);
        const auto now = there ? dumps(s.target) : std::map<QString, QString>{};
        const QString state = now == s.oldSet ? "old" : now == s.newSet ? "new" : "mixed";
        const bool restoring = s.target == folder.path();
        const QStringList kept = entriesIn(folder.path(), {"Replaced-*"});
        QStringList wrong;
        if (restoring && (kept.size() != (state == "new") || (!kept.isEmpty() && !(dumps(folder.file(kept[0])) == programSet))))
            wrong << "kept: " + kept.join(",");
        if (!restoring && !(dumps(folder.path()) == programSet))
            wrong << "the program's files changed";
        if (!restoring && there && entriesIn(s.target) != kDataFileNames)
            wrong << "backup folder: " + entriesIn(s.target).join(",");
        QStringList expected = programEntries + kept;
        expected.sort();
        if (entriesIn(folder.path()) != expected)
            wrong << "program folder: " + entriesIn(folder.path()).join(",");
        for (const QTemporaryDir* drive : {&driveA, &driveB}) {
            if (!entriesIn(drive->path()).isEmpty() && entriesIn(drive->path()) != QStringList{kFolder})
                wrong << "drive: " + entriesIn(drive->path()).join(",");
        }
        return state + (wrong.isEmpty() ? "" : " but " + wrong.join("; "));
    }
    QString recover()
    {
        return recoverDataFiles(sys::FileSystemObject(), folder.path(), {root(driveA), root(driveB)});
    }
    // Runs the sequence in a child process killed before change `at`; true when it was killed.
    static bool killedAt(const Sequence& s, int at)
    {
        const pid_t child = fork();
        if (child == 0) {
            try {
                s.run(Steps(at, Steps::Kill));
            } catch (...) {
                _exit(2);
            }
            _exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    QStringList programEntries;
    std::map<QString, QByteArray> programBytes, backUpBytes;
    std::map<QString, QString> programSet, backUpSet;
};

TEST_F(BackUpSetTest, EachChangeFailingOrKilledInTurnLeavesTheWholeOldSetOrTheWholeNewOne)
{
    for (const Sequence& s : sequences()) {
        SCOPED_TRACE(s.name);
        Steps counting;
        QStringList changes;
        counting.before = [&](const QString& change, const QString& path) { changes << change + " " + path; };
        s.run(counting);
        ASSERT_EQ(setState(s), "new");
        // The plan is written, and it and its name made durable, before any data file is renamed.
        const qsizetype plan = changes.indexOf(QRegularExpression("^WriteTextFile .*/data-files.plan$"));
        const QString planFolder = QFileInfo(changes.value(plan).section(' ', 1)).path();
        const qsizetype synced = changes.indexOf("SyncFile " + planFolder + "/data-files.plan.partial");
        const qsizetype named = changes.indexOf("SyncFolder " + planFolder, synced);
        const qsizetype renamed = changes.indexOf(QRegularExpression("^MoveFile .*\\.mdb(\\.new)?$"));
        EXPECT_TRUE(0 <= plan && plan < synced && synced < named && named < renamed) << changes.join("\n").toStdString();
        reset();
        ASSERT_EQ(setState(s), "old");
        for (int at = 1; at <= counting.count; ++at) {
            for (Steps::Mode mode : {Steps::Fail, Steps::FailFrom}) {
                SCOPED_TRACE(QString("change %1 failing%2").arg(at).arg(mode == Steps::FailFrom ? " on" : "").toStdString());
                QString failure;
                try {
                    s.run(Steps(at, mode));
                } catch (const ado::Error& e) {
                    failure = e.Description();
                }
                if (!failure.isEmpty()) {
                    expectMentions(failure, {"the disk is full (Disk full)."});
                    // The set is whole at once; what a pulled drive kept from being removed goes at recovery.
                    const QString state = setState(s);
                    const bool unfinished = failure.contains("Not every file could be put back yet");
                    EXPECT_FALSE(mode == Steps::Fail && unfinished) << failure.toStdString();
                    if (!unfinished) {
                        EXPECT_TRUE(mode == Steps::Fail ? state == "old" : state.startsWith("old"))
                            << state.toStdString() << "\n" << failure.toStdString();
                    }
                }
                EXPECT_EQ(recover(), "");
                EXPECT_EQ(setState(s), failure.isEmpty() ? "new" : "old") << failure.toStdString();
                reset();
            }
        }
        // Killed before each change, then recovered: old until the change is complete, then new.
        QString states;
        for (int at = 1; at <= counting.count + 1; ++at) {
            SCOPED_TRACE(at);
            EXPECT_EQ(killedAt(s, at), at <= counting.count);
            EXPECT_EQ(recover(), "");
            const QString state = setState(s);
            EXPECT_TRUE(state == "old" || state == "new") << state.toStdString();
            states += state == "new" ? 'N' : 'o';
            reset();
        }
        EXPECT_TRUE(QRegularExpression("^o+N+$").match(states).hasMatch()) << states.toStdString();
    }
}

// A copy damaged after its check, before it takes its place: the old files stay.
TEST_F(BackUpSetTest, ACopyDamagedBetweenItsCheckAndItsRenameLeavesTheOldFiles)
{
    for (const Sequence& s : sequences()) {
        SCOPED_TRACE(s.name);
        Steps damaging;
        damaging.before = [](const QString& change, const QString& path) {
            if (change == "MoveFile" && path.endsWith("nwForm10DB.mdb.new"))
                writeBytes(path, QByteArray(4096, '\xff'), 4096 * 3);
        };
        try {
            s.run(damaging);
            ADD_FAILURE() << "no failure";
        } catch (const ado::Error& e) {
            expectMentions(e.Description(), {"nwForm10DB.mdb cannot be used: it is damaged ("});
        }
        EXPECT_EQ(setState(s), "old");
        reset();
    }
}

// A crash of a version that wrote no plan could leave a file only under its set-aside name:
// recovery puts it back, and removes the copy beside it.
TEST_F(BackUpSetTest, AFileLeftOnlyUnderItsSetAsideNameIsPutBack)
{
    ASSERT_TRUE(QFile::rename(program("nwForm10DB.mdb"), program("nwForm10DB.mdb.old")));
    ASSERT_TRUE(QFile::copy(backUp(driveA, "nwForm10DB.mdb"), program("nwForm10DB.mdb.new")));
    EXPECT_EQ(recover(), "");
    EXPECT_EQ(setState(sequences()[2]), "old");
}

// The state a crash leaves half-way through a Restore ("is missing" said Restore, with the
// copy beside it), put right by the program's start and by the window's opening.
TEST_F(BackUpSetTest, AnInterruptedRestoreIsUndoneWhenTheProgramStartsAndWhenTheWindowOpens)
{
    const Sequence restore = sequences()[2];
    int settingAside = 0;   // the Form 10 database set aside, its copy not yet in its place
    Steps finding;
    finding.before = [&](const QString& change, const QString& path) {
        if (change == "MoveFile" && path.endsWith("/nwForm10DB.mdb") && !settingAside)
            settingAside = finding.count;
    };
    restore.run(finding);
    reset();
    shell::setEndProgramHook([](int) {});
    const auto shellBack = qScopeGuard([] {
        shell::setEndProgramHook(nullptr);
        lawdb::resetState();
        shell::resetState();
    });
    for (bool atStart : {true, false}) {
        SCOPED_TRACE(atStart ? "start" : "window");
        ASSERT_TRUE(killedAt(restore, settingAside + 1));
        ASSERT_FALSE(QFile::exists(program("nwForm10DB.mdb")));
        if (atStart) {
            ui::form<frmLaunch>();
        } else {
            openWindow();
        }
        EXPECT_EQ(setState(restore), "old");
        EXPECT_TRUE(messages().empty()) << last().prompt.toStdString();
        ui::FormRegistry::unloadAll();
        QApplication::processEvents();
    }
}

// A second copy of the program, started or its window opened while the first is half-way
// through a change, leaves that change alone and says nothing; its own Back Up and Restore
// are refused, and the change completes.
TEST_F(BackUpSetTest, AChangeUnderWayInAnotherProcessIsLeftAloneAndRefusesTheOthersChanges)
{
    const auto everything = [this] {
        QStringList out;
        for (const QString& top : {folder.path(), driveA.path(), driveB.path()}) {
            for (QDirIterator it(top, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
                 it.hasNext();)
                out << it.next();
        }
        out.sort();
        return out;
    };
    for (const Sequence& s : sequences()) {
        SCOPED_TRACE(s.name);
        int held[2], go[2];
        ASSERT_EQ(::pipe(held) | ::pipe(go), 0);
        const pid_t child = fork();
        if (child == 0) {
            Steps holding;
            int moves = 0;
            holding.before = [&](const QString& change, const QString&) {
                char c = 0;
                if (change == "MoveFile" && ++moves == 2   // half-way: a file set aside, or a copy in place
                    && !(::write(held[1], "h", 1) == 1 && ::read(go[0], &c, 1) == 1))
                    _exit(3);
            };
            try {
                s.run(holding);
            } catch (...) {
                _exit(2);
            }
            _exit(0);
        }
        char c = 0;
        EXPECT_EQ(::read(held[0], &c, 1), 1);
        const QStringList during = everything();
        EXPECT_EQ(recover(), "");
        ui::clearShownMessages();
        openWindow();
        EXPECT_TRUE(messages().empty()) << last().prompt.toStdString();
        const QString busy = "Another copy of Lumora is working on the files in " + folder.path()
                             + " (a backup, a restore, or the undoing of one that was interrupted): try again when it "
                               "has finished.\n\n";
        click(w->Command7);
        EXPECT_EQ(last().prompt, busy + "Nothing was backed up.");
        click(w->Command6);
        expectFailure({busy + "Nothing was restored."});
        EXPECT_EQ(everything(), during);
        w->Unload();
        EXPECT_EQ(::write(go[1], "g", 1), 1);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
        for (int fd : {held[0], held[1], go[0], go[1]})
            ::close(fd);
        EXPECT_EQ(setState(s), "new");
        reset();
    }
}

// A plan that cannot be acted on is named, with what can be read of it and what to do: the
// folder is left as it is and refuses every change until the plan is removed.
TEST_F(BackUpSetTest, ADamagedPlanIsNamedWithWhatItHoldsAndWhatToDoUntilItIsRemoved)
{
    const QString plan = folder.file("data-files.plan"), backUpPlan = backUp(driveA, "data-files.plan");
    writeBytes(plan, "Lumora data files being replaced\nReplaced-2026-07-01-090507\nTAXDATA.mdb\t1\nnwForm10DB.mdb\t?\n");
    writeBytes(backUpPlan, QByteArray("\x00\x9f garbled", 11));
    ASSERT_TRUE(QFile::copy(program("TAXDATA.mdb"), program("TAXDATA.mdb.new")));
    const QStringList entries = entriesIn(folder.path());
    const QString inProgram = "interrupted in " + folder.path() + " cannot be undone: its plan " + plan
                              + " is damaged. As far as it can be read, it names TAXDATA.mdb, nwForm10DB.mdb, the files "
                                "they replace being set aside in " + folder.file("Replaced-2026-07-01-090507") + ".\n";
    const QString inBackUp = "its plan " + backUpPlan + " is damaged: no data file's name can be read in it.\n";
    const QString advice = "then remove " + plan + ". Lumora then puts back any <name>.old whose file is missing";
    expectMentions(recover(), {inProgram, inBackUp, advice, "Check the data files TAXDATA.mdb, nwForm10DB.mdb, "
                                                            "Form10Data.mdb in " + folder.path()});
    struct Unreadable : sys::FileSystemObject {
        QString ReadTextFile(const QString&) const override
        {
            throw ado::Error(ado::err::PermissionDenied, "Permission denied", "FileSystemObject");
        }
    };
    expectMentions(recoverDataFiles(Unreadable(), folder.path(), {}),
                   {"its plan " + plan + " could not be read at all (Permission denied).\n"});
    for (const auto& [change, says] :
         std::vector<std::pair<std::function<void()>, QString>>{
             {[&] { restoreDataFiles(sys::FileSystemObject(), backUp(driveA), folder.path()); },
              inProgram + "Until the plan is removed"},
             {[&] { backUpDataFiles(sys::FileSystemObject(), folder.path(), backUp(driveA)); }, inBackUp},
             {[&] { backUpDataFiles(sys::FileSystemObject(), folder.path(), backUp(driveB)); }, inProgram}}) {
        try {
            change();
            ADD_FAILURE() << "not refused";
        } catch (const ado::Error& e) {
            expectMentions(e.Description(), {says});
        }
    }
    EXPECT_EQ(entriesIn(folder.path()), entries);
    ASSERT_TRUE(QFile::remove(plan) && QFile::remove(backUpPlan));
    EXPECT_EQ(recover(), "");
    EXPECT_FALSE(QFile::exists(program("TAXDATA.mdb.new")));
    restoreDataFiles(sys::FileSystemObject(), backUp(driveA), folder.path());
    EXPECT_EQ(setState(sequences()[2]), "new");
}

} // namespace
