#include "platform/db/Error.h"
#include "platform/sys/Desktop.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/ProgramFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(ProgramFolder, OverrideAndBackslashPaths)
{
    QTemporaryDir dir;
    sys::setProgramFolder(dir.path() + "/");
    EXPECT_EQ(sys::programFolder(), dir.path());
    EXPECT_EQ(sys::programPath("nwForm10DB.mdb"), dir.path() + "\\nwForm10DB.mdb");
    sys::setProgramFolder(QString());
    EXPECT_NE(sys::programFolder(), dir.path());
}

TEST(FileSystemObject, FoldersAndCopies)
{
    QTemporaryDir dir;
    sys::FileSystemObject fso;
    const QString backup = dir.path() + "\\Lumora1BackUp";
    EXPECT_FALSE(fso.FolderExists(backup));
    fso.CreateFolder(backup);
    EXPECT_TRUE(fso.FolderExists(backup));
    EXPECT_THROW(fso.CreateFolder(backup), ado::Error);
    EXPECT_THROW(fso.CreateFolder(dir.path() + "/no/such/parent"), ado::Error);

    writeFile(dir.path() + "/a.mdb", "first");
    fso.CopyFile(dir.path() + "/a.mdb", backup + "\\a.mdb");
    EXPECT_EQ(readFile(dir.path() + "/Lumora1BackUp/a.mdb"), "first");

    writeFile(dir.path() + "/a.mdb", "second");
    try {
        fso.CopyFile(dir.path() + "/a.mdb", backup + "/a.mdb", false);
        FAIL() << "expected 58";
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Number(), 58);
    }
    EXPECT_EQ(readFile(backup.section('\\', 0, 0) + "/Lumora1BackUp/a.mdb"), "first");
    fso.CopyFile(dir.path() + "/a.mdb", backup + "/", true);
    EXPECT_EQ(readFile(dir.path() + "/Lumora1BackUp/a.mdb"), "second");
    EXPECT_FALSE(QFile::exists(dir.path() + "/Lumora1BackUp/a.mdb.partial"));

    try {
        fso.CopyFile(dir.path() + "/missing.mdb", backup + "/m.mdb");
        FAIL() << "expected 53";
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Number(), 53);
    }
}

TEST(FileSystemObject, MovesNeverReplaceAndDeletesNameTheirFailure)
{
    QTemporaryDir dir;
    sys::FileSystemObject fso;
    const auto number = [](const std::function<void()>& f) -> long {
        try {
            f();
        } catch (const ado::Error& e) {
            return e.Number();
        }
        return 0;
    };
    writeFile(dir.path() + "/a.mdb", "a");
    writeFile(dir.path() + "/b.mdb", "b");
    EXPECT_EQ(number([&] { fso.MoveFile(dir.path() + "/a.mdb", dir.path() + "/b.mdb"); }), 58);
    EXPECT_EQ(readFile(dir.path() + "/b.mdb"), "b");
    fso.MoveFile(dir.path() + "\\a.mdb", dir.path() + "/c.mdb");
    EXPECT_FALSE(fso.FileExists(dir.path() + "/a.mdb"));
    EXPECT_EQ(readFile(dir.path() + "/c.mdb"), "a");
    EXPECT_EQ(number([&] { fso.MoveFile(dir.path() + "/a.mdb", dir.path() + "/d.mdb"); }), 53);
    fso.DeleteFile(dir.path() + "/c.mdb");
    EXPECT_FALSE(fso.FileExists(dir.path() + "/c.mdb"));
    EXPECT_EQ(number([&] { fso.DeleteFile(dir.path() + "/c.mdb"); }), 53);
    EXPECT_EQ(number([&] { fso.CreateFolder(dir.path() + "/no/such/parent"); }), 76);
    EXPECT_EQ(number([&] { fso.CreateFolder("/proc/Lumora1BackUp"); }), 70);   // a root nobody can write
}

TEST(DriveList, HomeFirstThenMountedVolumesOfTheUserAndUnderMnt)
{
    const QStringList mounts{"/", "/boot", "/mnt", "/mnt/data", "/media/alice/USB STICK", "/run/media/alice/Disk",
                             "/media/bob/Other", "/mnt/a/b", "/media/alice/ALPHA/", "/home", "/mnt/backup"};
    EXPECT_EQ(sys::driveRootsFrom("/home/alice", "alice", mounts),
              (QStringList{"/home/alice/", "/media/alice/ALPHA/", "/media/alice/USB STICK/", "/run/media/alice/Disk/",
                           "/mnt/backup/", "/mnt/data/"}));
    EXPECT_EQ(sys::driveRootsFrom("/root/", "", {"/mnt/x", "/media/root/y"}), (QStringList{"/root/", "/mnt/x/"}));

    const QStringList machine = sys::logicalDrives();
    ASSERT_FALSE(machine.isEmpty());
    for (const QString& root : machine)
        EXPECT_TRUE(root.endsWith('/')) << root.toStdString();
    sys::setLogicalDrives(QStringList{"/tmp/a/", "/tmp/b/"});
    EXPECT_EQ(sys::logicalDrives(), (QStringList{"/tmp/a/", "/tmp/b/"}));
    sys::setLogicalDrives(QStringList{});
    EXPECT_TRUE(sys::logicalDrives().isEmpty());
    sys::setLogicalDrives(std::nullopt);
    EXPECT_EQ(sys::logicalDrives(), machine);
}

TEST(Desktop, DoubleRecordsRequestsAndRealOneIsRestored)
{
    auto rec = std::make_unique<sys::RecordingDesktop>();
    auto* raw = rec.get();
    raw->shutDownResult = false;
    sys::setDesktop(std::move(rec));
    EXPECT_TRUE(sys::desktop().startProgram("Notepad"));
    EXPECT_TRUE(sys::desktop().openFile("/tmp/x.rtf"));
    EXPECT_FALSE(sys::desktop().shutDown());
    EXPECT_EQ(raw->started, QStringList{"Notepad"});
    EXPECT_EQ(raw->opened, QStringList{"/tmp/x.rtf"});
    EXPECT_EQ(raw->shutDownRequests, 1);
    sys::setDesktop(nullptr);
    EXPECT_EQ(dynamic_cast<sys::RecordingDesktop*>(&sys::desktop()), nullptr);
}
