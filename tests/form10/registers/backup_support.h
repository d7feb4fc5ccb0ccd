// Shared by the backup tests: temporary folders standing in for drive roots, the data files
// read back, and the window on its own program folder.
#pragma once

#include "register_support.h"

#include "form10/registers/BackUpCopies.h"
#include "form10/registers/frmBackUpRestore.h"
#include "platform/sys/FileSystem.h"

#include <QDir>
#include <QTemporaryDir>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace f10test {

const QString kFolder = "Lumora1BackUp";
const QString kBackedUp = " File  is Backed Up";
const QString kRestored = "File is   Restored    ";
const QString kSuccessTitle = "           Successfully      ";
const QStringList kDataFileNames = {"Form10Data.mdb", "TAXDATA.mdb", "nwForm10DB.mdb"};   // sorted

// Every name in a folder, files and folders, hidden ones too.
inline QStringList entriesIn(const QString& folder, const QStringList& patterns = {})
{
    QStringList names = QDir(folder).entryList(patterns, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

inline QString root(const QTemporaryDir& drive) { return drive.path() + "/"; }
inline QString backUp(const QTemporaryDir& drive, const QString& name = {})
{
    return drive.path() + "/" + kFolder + (name.isEmpty() ? QString() : "/" + name);
}

// The data files of a folder as SQL dumps, by name ("<missing>" for an absent one).
inline std::map<QString, QString> dumps(const QString& folder)
{
    std::map<QString, QString> out;
    for (const QString& name : kDataFileNames)
        out[name] = QFile::exists(folder + "/" + name) ? dump(folder + "/" + name) : "<missing>";
    return out;
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
        for (const QString& name : kDataFileNames)
            files[name] = bytesOf(program(name));
        return files;
    }
    // Every data file of the program folder changed since the backup.
    void changeEveryProgramFile()
    {
        for (const QString& name : kDataFileNames)
            exec(program(name), "CREATE TABLE Since (x TEXT); INSERT INTO Since VALUES ('after the backup')");
    }
    // Backed up from the window, then every data file changed.
    void backUpThenChangeEveryFile()
    {
        openWindow();
        click(w->Command7);
        ASSERT_EQ(last().prompt, kBackedUp);
        changeEveryProgramFile();
    }
    // The success message; the backup folder holds the program's data and nothing else.
    void expectBackedUpTo(const QTemporaryDir& drive)
    {
        EXPECT_EQ(last().prompt + last().title + QString::number(last().icon()),
                  kBackedUp + kSuccessTitle + QString::number(ui::vbInformation));
        EXPECT_EQ(entriesIn(drive.path()), QStringList{kFolder});
        EXPECT_EQ(entriesIn(backUp(drive)), kDataFileNames);
        EXPECT_TRUE(dumps(backUp(drive)) == dumps(folder.path()));
    }
    ui::MessageRecord last() const { return messages().empty() ? ui::MessageRecord{} : messages().back(); }
    // A failure: the critical icon, the one title, and each of `parts` in the text.
    void expectFailure(const QStringList& parts)
    {
        expectMentions(last().prompt, parts);
        EXPECT_EQ(last().title + QString::number(last().icon()), "Error" + QString::number(ui::vbCritical));
        EXPECT_EQ(ui::mousePointer(), ui::vbDefault);
    }
    // A Restore refused: nothing changed, nothing left behind.
    void expectRestoreRefused(const QStringList& parts, const std::map<QString, QByteArray>& before)
    {
        expectFailure(parts + QStringList{"Nothing was restored"});
        EXPECT_TRUE(programFiles() == before);
        EXPECT_EQ(entriesIn(folder.path(), {"*.new", "*.old", "*.plan*", "Replaced-*"}), QStringList());
    }

    QTemporaryDir driveA, driveB;
    frmBackUpRestore* w = nullptr;
};

} // namespace f10test
