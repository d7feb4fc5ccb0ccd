// The program folder, the file-system object and the drive roots a backup can go to.
#include "../ui/UiTestUtil.h"
#include "platform/sys/FileSystem.h"
#include "platform/sys/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using uitest::errorNumber;

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

// Paths as the program writes them, with '\'; copies replace only when asked, moves never;
// a failure is the runtime's error: 53 no such file, 58 it exists, 76 no such folder, 70 denied.
TEST(FileSystemObject, FoldersCopiesMovesAndDeletes)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    sys::FileSystemObject fso;
    const QString backup = d + "\\Lumora1BackUp";
    EXPECT_FALSE(fso.FolderExists(backup));
    fso.CreateFolder(backup);
    EXPECT_TRUE(fso.FolderExists(backup));
    EXPECT_EQ(errorNumber([&] { fso.CreateFolder(backup); }), 58);
    EXPECT_EQ(errorNumber([&] { fso.CreateFolder(d + "/no/such/parent"); }), 76);
    EXPECT_EQ(errorNumber([&] { fso.CreateFolder("/proc/Lumora1BackUp"); }), 70);   // a root nobody can write

    writeFile(d + "/a.mdb", "first");
    fso.CopyFile(d + "/a.mdb", backup + "\\a.mdb");
    EXPECT_EQ(readFile(d + "/Lumora1BackUp/a.mdb"), "first");
    writeFile(d + "/a.mdb", "second");
    EXPECT_EQ(errorNumber([&] { fso.CopyFile(d + "/a.mdb", backup + "/a.mdb", false); }), 58);
    EXPECT_EQ(readFile(d + "/Lumora1BackUp/a.mdb"), "first");
    fso.CopyFile(d + "/a.mdb", backup + "/", true);   // into the folder, replacing
    EXPECT_EQ(readFile(d + "/Lumora1BackUp/a.mdb"), "second");
    EXPECT_FALSE(QFile::exists(d + "/Lumora1BackUp/a.mdb.partial"));
    EXPECT_EQ(errorNumber([&] { fso.CopyFile(d + "/missing.mdb", backup + "/m.mdb"); }), 53);

    writeFile(d + "/b.mdb", "b");
    EXPECT_EQ(errorNumber([&] { fso.MoveFile(d + "/a.mdb", d + "/b.mdb"); }), 58);
    EXPECT_EQ(readFile(d + "/b.mdb"), "b");
    fso.MoveFile(d + "\\a.mdb", d + "/c.mdb");
    EXPECT_FALSE(fso.FileExists(d + "/a.mdb"));
    EXPECT_EQ(readFile(d + "/c.mdb"), "second");
    EXPECT_EQ(errorNumber([&] { fso.MoveFile(d + "/a.mdb", d + "/d.mdb"); }), 53);
    fso.DeleteFile(d + "/c.mdb");
    EXPECT_FALSE(fso.FileExists(d + "/c.mdb"));
    EXPECT_EQ(errorNumber([&] { fso.DeleteFile(d + "/c.mdb"); }), 53);
}

// What a change of a set of files relies on: a rename never replaces what is there, a folder
// holding something is never removed, a small file is written whole.
TEST(FileSystemObject, RenamesFoldersAndWholeFiles)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    sys::FileSystemObject fso;
    fso.CreateFolder(d + "/a");
    fso.CreateFolder(d + "/b");
    fso.WriteTextFile(d + "/a/plan", "first\n");
    fso.WriteTextFile(d + "/a/plan", "second\n");
    EXPECT_EQ(fso.ReadTextFile(d + "/a/plan"), "second\n");
    EXPECT_EQ(QDir(d + "/a").entryList(QDir::Files), QStringList{"plan"});
    EXPECT_EQ(errorNumber([&] { fso.MoveFolder(d + "/a", d + "/b"); }), 58);
    EXPECT_EQ(errorNumber([&] { fso.DeleteFolder(d + "/a"); }), 75);
    fso.MoveFolder(d + "/a", d + "/c");
    EXPECT_EQ(fso.SubFolders(d), (QStringList{"b", "c"}));
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
}
