// The data files replaced as one set: checks, staged copies, a plan, renames, and the
// recovery that undoes a change a crash interrupted.
#include "form10/registers/BackUpCopies.h"

#include "form10/registers/DealerList.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "platform/sys/FileSystem.h"
#include "platform/vb/Vb.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using sys::FileSystemObject;
namespace err = ado::err;

const QString kPlanName = QStringLiteral("data-files.plan");
const QString kPlanHeading = QStringLiteral("Lumora data files being replaced");
const QString kSource = QStringLiteral("Lumora.BackUp");
constexpr int kKeptRestores = 5;

// The Form 10 database's tables are those keyed by dealer (f10::kDealerKeyedTables): a file
// lacking one of them is not a Form 10 database, and the program would fail on it. The dealer
// list is not among them: the program makes it when a file from before it has none.
const QString kForm10Database = QStringLiteral("nwForm10DB.mdb");
// TAXDATA.mdb and Form10Data.mdb hold whatever the user keeps in them; the builder marks both
// with this user_version, which no other database of the program carries.
constexpr int kDataFileMark = 1;

const QRegularExpression& keptFolderPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^Replaced-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+))?$"));
    return pattern;
}

QString in(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }
QString stagedName(const QString& name) { return name + QStringLiteral(".new"); }
QString setAsideName(const QString& name) { return name + QStringLiteral(".old"); }
QString stagingFolderOf(const QString& backUpFolder) { return backUpFolder + QStringLiteral(".new"); }

QStringList dataFileNames()
{
    QStringList names;
    for (const char* name : kDataFiles)
        names << QLatin1String(name);
    return names;
}

// A failed change that could not be wholly undone: recovery finishes the undoing later.
class NotUndone : public ado::Error {
public:
    explicit NotUndone(const ado::Error& e) : ado::Error(e.Number(), e.Description(), e.Source()) {}
};

QString troubleText(const ado::Error& e)
{
    switch (e.Number()) {
    case err::FileInUse: return QStringLiteral("it is in use by another program; close that program and try again");
    case err::FileDamaged: return QStringLiteral("it is damaged");
    case err::PermissionDenied: return QStringLiteral("the place is read-only or permission is denied");
    case err::DiskFull: return QStringLiteral("the disk is full");
    case err::FileNotFound: case err::PathNotFound: return QStringLiteral("it is missing");
    case err::FileExists: return QStringLiteral("something of that name is in the way");
    default: return QStringLiteral("it could not be read or written");
    }
}

// "<what>: <the trouble, plainly> (<the engine's or the system's words>)."
[[noreturn]] void fail(const QString& what, const ado::Error& cause)
{
    throw ado::Error(cause.Number(),
                     what + QStringLiteral(": ") + troubleText(cause) + QStringLiteral(" (") + cause.Description()
                         + QStringLiteral(")."),
                     cause.Source());
}

// One engine or file-system step, its failure described as `what` failing.
void step(const QString& what, const std::function<void()>& action)
{
    try {
        action();
    } catch (const ado::Error& e) {
        fail(what, e);
    }
}

void removeIfThere(const FileSystemObject& fso, const QString& path)
{
    if (fso.FileExists(path))
        fso.DeleteFile(path);
}

// The plan of one change, written before the first rename: where the current files are set
// aside, and which files had a current one.
struct Plan {
    QString keptFolder;   // a Restore's folder for the replaced files; empty: "<name>.old"
    std::vector<std::pair<QString, bool>> files;

    QString aside(const QString& folder, const QString& name) const
    {
        return keptFolder.isEmpty() ? in(folder, setAsideName(name)) : in(in(folder, keptFolder), name);
    }
    bool replacesAny() const
    {
        return std::any_of(files.begin(), files.end(), [](const auto& f) { return f.second; });
    }
    QString text() const
    {
        QString out = kPlanHeading + QLatin1Char('\n') + keptFolder + QLatin1Char('\n');
        for (const auto& [name, had] : files)
            out += name + QLatin1Char('\t') + (had ? QLatin1Char('1') : QLatin1Char('0')) + QLatin1Char('\n');
        return out;
    }
    // Reads into `plan` the data files and the dated folder the text names, wherever they
    // stand; true when the text is wholly as this program writes it, the only plan acted on.
    static bool parse(const QString& text, Plan& plan)
    {
        QStringList lines = text.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        bool valid = lines.size() >= 2 && lines[0] == kPlanHeading
                     && (lines[1].isEmpty() || keptFolderPattern().match(lines[1]).hasMatch());
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList parts = lines[i].split(QLatin1Char('\t'));
            if (keptFolderPattern().match(lines[i]).hasMatch()) {
                plan.keptFolder = lines[i];
                valid = valid && i == 1;
            } else if (dataFileNames().contains(parts[0])) {
                plan.files.emplace_back(parts[0], parts.value(1) == QLatin1String("1"));
                valid = valid && i >= 2 && parts.size() == 2
                        && (parts[1] == QLatin1String("0") || parts[1] == QLatin1String("1"));
            } else {
                valid = valid && i < 2;
            }
        }
        return valid;
    }
};

// A plan that cannot be acted on (`unreadable`: the system's words when it could not be read):
// what can be read of it, and what the user can do. Recovery leaves the folder alone while the
// plan is there, and every change of the folder starts by recovering it. A first backup's
// unfinished folder holds only copies, and goes whole once its plan is removed.
[[noreturn]] void refuseDamagedPlan(const QString& folder, const QString& path, const QString& text,
                                    const QString& unreadable, bool unfinishedFirstBackUp)
{
    Plan read;
    Plan::parse(text, read);
    QStringList named;
    for (const auto& file : read.files)
        named << file.first;
    named.removeDuplicates();
    QString held = QStringLiteral(" could not be read at all (") + unreadable + QStringLiteral(").");
    if (unreadable.isEmpty() && named.isEmpty())
        held = QStringLiteral(" is damaged: no data file's name can be read in it.");
    else if (unreadable.isEmpty())
        held = QStringLiteral(" is damaged. As far as it can be read, it names ") + named.join(QStringLiteral(", "))
               + (read.keptFolder.isEmpty() ? QString()
                                            : QStringLiteral(", the files they replace being set aside in ")
                                                  + in(folder, read.keptFolder))
               + QLatin1Char('.');
    const QString advice =
        unfinishedFirstBackUp
            ? QStringLiteral("The folder holds only the copies of a first backup that did not finish; it stays, and no "
                             "backup is made beside it, until the plan is removed. Remove ")
                  + path + QStringLiteral(": Lumora then removes the folder and backs up afresh.")
            : QStringLiteral("Until the plan is removed, Lumora leaves the files there as they are, and no backup or "
                             "restore uses them. Check the data files ")
                  + dataFileNames().join(QStringLiteral(", ")) + QStringLiteral(" in ") + folder
                  + QStringLiteral(": each may be the old file or its new copy, or be missing, set aside as "
                                   "<name>.old or in a Replaced- folder; a copy not yet in place is <name>.new. Put "
                                   "each file you keep under its own name, then remove ")
                  + path
                  + QStringLiteral(". Lumora then puts back any <name>.old whose file is missing, removes any other "
                                   "<name>.new and <name>.old there, and backs up and restores again.");
    throw ado::Error(err::FileDamaged,
                     QStringLiteral("A backup or restore that was interrupted in ") + folder
                         + QStringLiteral(" cannot be undone: its plan ") + path + held + QLatin1Char('\n') + advice,
                     kSource);
}

// Puts back every file a change set aside and removes every copy it made; then the plan.
// Each step is safe to repeat, so an undo that a crash interrupts is finished by the next.
void undo(const FileSystemObject& fso, const QString& folder, const Plan& plan)
{
    for (auto it = plan.files.rbegin(); it != plan.files.rend(); ++it) {
        const auto& [name, had] = *it;
        const QString target = in(folder, name);
        const QString staged = in(folder, stagedName(name));
        const QString aside = plan.aside(folder, name);
        if (fso.FileExists(aside)) {
            removeIfThere(fso, target);   // the copy put in its place
            fso.MoveFile(aside, target);
        } else if (!had && !fso.FileExists(staged)) {
            removeIfThere(fso, target);   // the copy, where there was no file before
        }
        removeIfThere(fso, staged);
        removeIfThere(fso, staged + QStringLiteral("-journal"));
    }
    const QString kept = in(folder, plan.keptFolder);
    if (!plan.keptFolder.isEmpty() && fso.FolderExists(kept))
        fso.DeleteFolder(kept);
    fso.SyncFolder(folder);
    fso.DeleteFile(in(folder, kPlanName));
}

// Undoes a change a crash left in `folder`, then removes what no plan accounts for: copies
// made before a plan was written, files a finished Back Up had still to remove. A file found
// only under its set-aside name (left so by a crash of a version that wrote no plan) is put
// back under its own: it may be the only copy of the user's data.
void recoverFolder(const FileSystemObject& fso, const QString& folder, bool unfinishedFirstBackUp = false)
{
    const QString planPath = in(folder, kPlanName);
    const QString what = QStringLiteral("A backup or restore that was interrupted in ") + folder
                         + QStringLiteral(" could not be undone yet");
    if (fso.FileExists(planPath)) {
        QString text;
        try {
            text = fso.ReadTextFile(planPath);
        } catch (const ado::Error& e) {
            refuseDamagedPlan(folder, planPath, {}, e.Description(), unfinishedFirstBackUp);
        }
        Plan plan;
        if (!Plan::parse(text, plan))
            refuseDamagedPlan(folder, planPath, text, {}, unfinishedFirstBackUp);
        step(what, [&] { undo(fso, folder, plan); });
    }
    for (const QString& name : dataFileNames()) {
        if (!fso.FileExists(in(folder, name)) && fso.FileExists(in(folder, setAsideName(name))))
            step(what, [&] { fso.MoveFile(in(folder, setAsideName(name)), in(folder, name)); });
    }
    for (const QString& name : dataFileNames()) {
        for (const QString& left : {stagedName(name), stagedName(name) + QStringLiteral("-journal"), setAsideName(name)})
            vb::skip([&] { removeIfThere(fso, in(folder, left)); });
    }
    vb::skip([&] { removeIfThere(fso, planPath + QStringLiteral(".partial")); });
}

// Removes a first backup's folder that was never put in place.
void removeStagingFolder(const FileSystemObject& fso, const QString& staging)
{
    if (!fso.FolderExists(staging))
        return;
    recoverFolder(fso, staging, true);
    step(QStringLiteral("The unfinished backup folder ") + staging + QStringLiteral(" could not be removed"), [&] {
        for (const QString& name : dataFileNames())
            removeIfThere(fso, in(staging, name));
        fso.DeleteFolder(staging);
    });
}

void recoverBackUpFolder(const FileSystemObject& fso, const QString& backUpFolder)
{
    removeStagingFolder(fso, stagingFolderOf(backUpFolder));
    if (fso.FolderExists(backUpFolder))
        recoverFolder(fso, backUpFolder);
}

// What a backup file must be to replace the file of that name.
void checkKind(const QString& name, const QString& path, const QString& subject)
{
    ado::DatabaseFacts facts;
    step(subject + QStringLiteral(" cannot be used"), [&] { facts = ado::readDatabaseFacts(path); });
    if (name == kForm10Database) {
        QStringList missing;
        for (const f10::KeyedTable& table : f10::kDealerKeyedTables) {
            if (!facts.tables.contains(QLatin1String(table.name), Qt::CaseInsensitive))
                missing << QLatin1String(table.name);
        }
        if (!missing.isEmpty())
            throw ado::Error(err::WrongDatabase,
                             subject + QStringLiteral(" is not a Form 10 database: it has no table ")
                                 + missing.join(QStringLiteral(", ")) + QLatin1Char('.'),
                             kSource);
    } else if (facts.userVersion != kDataFileMark) {
        throw ado::Error(err::WrongDatabase,
                         subject + QStringLiteral(" is not one of Lumora's data files (user_version %1 where %2 is expected).")
                                       .arg(facts.userVersion).arg(kDataFileMark),
                         kSource);
    }
}

struct Change {
    QString from;          // folder of the sources
    QString to;            // folder of the targets and of the plan
    bool restoring = false;
};

void checkSource(const FileSystemObject& fso, const Change& c, const QString& name)
{
    const QString source = in(c.from, name);
    const QString subject = (c.restoring ? QStringLiteral("The backup file ") : QStringLiteral("The file ")) + source;
    if (!fso.FileExists(source))
        throw ado::Error(err::FileNotFound, subject + QStringLiteral(" is missing."), kSource);
    step(subject + QStringLiteral(" cannot be used"), [&] {
        ado::settleDatabaseFile(source);
        ado::checkDatabaseFile(source);
    });
    if (c.restoring)
        checkKind(name, source, subject);
}

QString newKeptFolderName(const FileSystemObject& fso, const QString& folder)
{
    const QString base = QStringLiteral("Replaced-") + sys::now().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString name = base;
    for (int n = 2; fso.FolderExists(in(folder, name)); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

// Keeps the last few folders of replaced files, oldest first removed.
void pruneKeptFolders(const FileSystemObject& fso, const QString& folder)
{
    struct Kept { QString name, moment; int n; };
    std::vector<Kept> kept;
    for (const QString& name : fso.SubFolders(folder)) {
        const auto m = keptFolderPattern().match(name);
        if (m.hasMatch())
            kept.push_back({name, m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    std::sort(kept.begin(), kept.end(), [](const Kept& a, const Kept& b) {
        return a.moment != b.moment ? a.moment < b.moment : a.n < b.n;
    });
    for (size_t i = 0; i + kKeptRestores < kept.size(); ++i) {
        vb::skip([&] {
            const QString old = in(folder, kept[i].name);
            for (const QString& name : dataFileNames())
                removeIfThere(fso, in(old, name));
            fso.DeleteFolder(old);
        });
    }
}

// Replaces the set in c.to by copies of the set in c.from. Returns the folder keeping the
// replaced files of a Restore ("" for a Back Up, or when nothing was replaced).
QString replaceSet(const FileSystemObject& fso, const Change& c)
{
    // The sources too: a set a crash left half replaced, or under a damaged plan, is no set to copy.
    recoverFolder(fso, c.to);
    recoverFolder(fso, c.from);

    Plan plan;
    for (const QString& name : dataFileNames()) {
        checkSource(fso, c, name);
        const QString target = in(c.to, name);
        const bool had = fso.FileExists(target);
        if (had)
            step(QStringLiteral("The file ") + target + QStringLiteral(" cannot be replaced now"),
                 [&] { ado::settleDatabaseFile(target, true); });
        plan.files.emplace_back(name, had);
    }
    if (c.restoring && plan.replacesAny())
        plan.keptFolder = newKeptFolderName(fso, c.to);

    const auto removeCopies = [&] {
        for (const QString& name : dataFileNames()) {
            vb::skip([&] { removeIfThere(fso, in(c.to, stagedName(name))); });
            vb::skip([&] { removeIfThere(fso, in(c.to, stagedName(name) + QStringLiteral("-journal"))); });
        }
        vb::skip([&] { removeIfThere(fso, in(c.to, kPlanName)); });   // written, though its write failed after
    };
    try {
        for (const auto& [name, had] : plan.files) {
            const QString source = in(c.from, name);
            const QString target = in(c.to, name);
            const QString staged = in(c.to, stagedName(name));
            step(QStringLiteral("The file ") + source + QStringLiteral(" could not be copied to ") + target,
                 [&] { fso.CopyDatabaseFile(source, staged); });
            if (had)
                step(QStringLiteral("The permissions of ") + target + QStringLiteral(" could not be kept"),
                     [&] { fso.SetMode(staged, fso.Mode(target)); });
        }
        step(QStringLiteral("The folder ") + c.to + QStringLiteral(" could not be written"),
             [&] { fso.WriteTextFile(in(c.to, kPlanName), plan.text()); });
    } catch (const ado::Error&) {
        removeCopies();
        throw;
    }

    try {
        if (!plan.keptFolder.isEmpty())
            step(QStringLiteral("The folder ") + in(c.to, plan.keptFolder)
                     + QStringLiteral(" for the files being replaced could not be made"),
                 [&] { fso.CreateFolder(in(c.to, plan.keptFolder)); });
        for (const auto& [name, had] : plan.files) {
            const QString target = in(c.to, name);
            if (had)
                step(QStringLiteral("The file ") + target + QStringLiteral(" could not be set aside"),
                     [&] { fso.MoveFile(target, plan.aside(c.to, name)); });
            step(QStringLiteral("The copy could not be put in place as ") + target,
                 [&] { fso.MoveFile(in(c.to, stagedName(name)), target); });
        }
        // Checked where they stand, so that nothing that happened to a copy since it was made
        // goes unseen; a copy that fails puts the old files back.
        for (const QString& name : dataFileNames()) {
            const QString subject = QStringLiteral("The copy put in place as ") + in(c.to, name);
            step(subject + QStringLiteral(" cannot be used"), [&] { ado::checkDatabaseFile(in(c.to, name)); });
            if (c.restoring)
                checkKind(name, in(c.to, name), subject);
        }
        step(QStringLiteral("The folder ") + c.to + QStringLiteral(" could not be written"), [&] {
            fso.SyncFolder(c.to);
            fso.DeleteFile(in(c.to, kPlanName));
        });
    } catch (const ado::Error& e) {
        if (!vb::skip([&] { undo(fso, c.to, plan); }))
            throw NotUndone(e);
        throw;
    }

    vb::skip([&] { fso.SyncFolder(c.to); });
    if (!c.restoring) {
        for (const QString& name : dataFileNames())
            vb::skip([&] { removeIfThere(fso, in(c.to, setAsideName(name))); });
    } else {
        vb::skip([&] { pruneKeptFolders(fso, c.to); });
    }
    return plan.keptFolder.isEmpty() ? QString() : in(c.to, plan.keptFolder);
}

// The first backup to a drive: made whole in a folder of another name, then renamed.
void firstBackUp(const FileSystemObject& fso, const QString& programFolder, const QString& backUpFolder)
{
    const QString staging = stagingFolderOf(backUpFolder);
    const QString what = QStringLiteral("The backup folder ") + backUpFolder + QStringLiteral(" could not be made");
    removeStagingFolder(fso, staging);
    step(what, [&] { fso.CreateFolder(staging); });
    try {
        replaceSet(fso, {programFolder, staging, false});
        step(what, [&] { fso.MoveFolder(staging, backUpFolder); });
    } catch (const ado::Error& e) {
        if (!vb::skip([&] { removeStagingFolder(fso, staging); }))
            throw NotUndone(e);
        throw ado::Error(e.Number(), e.Description(), e.Source());
    }
}

// Another copy of the program must not change or recover the folders a change works on while
// it runs: each change holds, for its whole course, the program folder and the drive root of
// the backup folder (the root, so that a first backup's folder of another name is held too);
// recovery takes the same locks first and leaves alone a folder another copy holds.
using Locks = std::vector<std::unique_ptr<sys::FolderLock>>;

QString lockedPlaceOf(const QString& backUpFolder) { return QFileInfo(backUpFolder).absolutePath(); }

// Raises, `nothingDone` added, when another copy holds one of the folders.
Locks holdAgainstOtherCopies(const QString& programFolder, const QString& backUpFolder, const QString& nothingDone)
{
    Locks locks;
    QStringList held;
    for (const auto& [place, shown] : {std::pair{programFolder, programFolder},
                                       std::pair{lockedPlaceOf(backUpFolder), backUpFolder}}) {
        const QString same = QFileInfo(place).canonicalFilePath();
        if (!same.isEmpty() && held.contains(same))
            continue;   // a second lock of one folder would find the first
        held << same;
        locks.push_back(std::make_unique<sys::FolderLock>(place));
        if (locks.back()->busy())
            throw ado::Error(err::FileInUse,
                             QStringLiteral("Another copy of Lumora is working on the files in ") + shown
                                 + QStringLiteral(" (a backup, a restore, or the undoing of one that was interrupted): "
                                                  "try again when it has finished.\n\n")
                                 + nothingDone,
                             kSource);
    }
    return locks;
}

void unlessHeld(const QString& place, const std::function<void()>& recover)
{
    const sys::FolderLock lock(place);
    if (!lock.busy())
        recover();
}

const QString kUnfinished = QStringLiteral(
    "\n\nNot every file could be put back yet. Lumora puts them back the next time it starts or this window opens.");

} // namespace

void backUpDataFiles(const sys::FileSystemObject& fso, const QString& programFolder, const QString& backUpFolder)
{
    const Locks locks = holdAgainstOtherCopies(programFolder, backUpFolder, QStringLiteral("Nothing was backed up."));
    const bool first = !fso.FolderExists(backUpFolder);
    try {
        if (first)
            firstBackUp(fso, programFolder, backUpFolder);
        else
            replaceSet(fso, {programFolder, backUpFolder, false});
    } catch (const NotUndone& e) {
        throw ado::Error(e.Number(), e.Description() + kUnfinished, e.Source());
    } catch (const ado::Error& e) {
        const QString state = first ? QStringLiteral("no backup folder was made.")
                                    : QStringLiteral("the backup in ") + backUpFolder + QStringLiteral(" is as it was.");
        throw ado::Error(e.Number(), e.Description() + QStringLiteral("\n\nNothing was backed up: ") + state, e.Source());
    }
}

QString restoreDataFiles(const sys::FileSystemObject& fso, const QString& backUpFolder, const QString& programFolder)
{
    const Locks locks = holdAgainstOtherCopies(programFolder, backUpFolder, QStringLiteral("Nothing was restored."));
    try {
        return replaceSet(fso, {backUpFolder, programFolder, true});
    } catch (const NotUndone& e) {
        throw ado::Error(e.Number(), e.Description() + kUnfinished, e.Source());
    } catch (const ado::Error& e) {
        throw ado::Error(e.Number(),
                         e.Description() + QStringLiteral("\n\nNothing was restored: the data files are as they were."),
                         e.Source());
    }
}

QString recoverDataFiles(const sys::FileSystemObject& fso, const QString& programFolder, const QStringList& roots)
{
    QStringList problems;
    const auto attempt = [&](const std::function<void()>& recover) {
        try {
            recover();
        } catch (const ado::Error& e) {
            problems << e.Description();
        }
    };
    attempt([&] { unlessHeld(programFolder, [&] { recoverFolder(fso, programFolder); }); });
    for (const QString& root : roots) {
        const QString backUpFolder = root + kBackUpFolderName;
        attempt([&] { unlessHeld(lockedPlaceOf(backUpFolder), [&] { recoverBackUpFolder(fso, backUpFolder); }); });
    }
    return problems.join(QLatin1Char('\n'));
}
