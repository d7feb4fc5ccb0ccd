// All-or-nothing copies of the data files: checked sources, consistent copies into new files
// beside the targets, then renames (undone on failure).
#include "form10/registers/BackUpCopies.h"

#include "platform/db/DatabaseFile.h"
#include "platform/db/Error.h"
#include "platform/sys/FileSystem.h"
#include "platform/vb/Vb.h"

namespace {

// "<what> (<the cause's reason>)."
[[noreturn]] void raiseFor(const QString& what, const ado::Error& cause)
{
    throw ado::Error(cause.Number(), what + QStringLiteral(" (") + cause.Description() + QStringLiteral(")."),
                     cause.Source());
}

QString newFileOf(const QString& target) { return target + QStringLiteral(".new"); }
QString oldFileOf(const QString& target) { return target + QStringLiteral(".old"); }

void removeIfThere(const sys::FileSystemObject& fso, const QString& path)
{
    vb::skip([&] {
        if (fso.FileExists(path))
            fso.DeleteFile(path);
    });
}

void checkSources(const sys::FileSystemObject& fso, const std::vector<DataFileCopy>& copies)
{
    for (const DataFileCopy& c : copies) {
        if (!fso.FileExists(c.source))
            throw ado::Error(53, QStringLiteral("The file ") + c.source + QStringLiteral(" is missing."),
                             QStringLiteral("FileSystemObject"));
        try {
            ado::checkDatabaseFile(c.source);
        } catch (const ado::Error& e) {
            raiseFor(QStringLiteral("The file ") + c.source + QStringLiteral(" is not a sound database"), e);
        }
        try {
            if (fso.FileExists(c.target))
                ado::settleDatabaseFile(c.target);
        } catch (const ado::Error& e) {
            raiseFor(QStringLiteral("The file ") + c.target + QStringLiteral(" cannot be replaced now"), e);
        }
    }
}

// Each source into a new file beside its target; all new files are removed on a failure.
void makeNewFiles(const sys::FileSystemObject& fso, const std::vector<DataFileCopy>& copies)
{
    for (size_t i = 0; i < copies.size(); ++i) {
        const DataFileCopy& c = copies[i];
        const QString made = newFileOf(c.target);
        try {
            ado::copyDatabaseFile(c.source, made);   // replaces a new file left from before
            ado::checkDatabaseFile(made);
        } catch (const ado::Error& e) {
            for (size_t j = 0; j <= i; ++j)
                removeIfThere(fso, newFileOf(copies[j].target));
            raiseFor(QStringLiteral("The file ") + c.source + QStringLiteral(" could not be copied to ") + c.target, e);
        }
    }
}

// The new files take their targets' places; the targets replaced so far come back on a
// failure.
void putNewFilesInPlace(const sys::FileSystemObject& fso, const std::vector<DataFileCopy>& copies)
{
    std::vector<bool> hadTarget(copies.size(), false);
    size_t placed = 0;
    try {
        for (; placed < copies.size(); ++placed) {
            const QString& target = copies[placed].target;
            removeIfThere(fso, oldFileOf(target));
            hadTarget[placed] = fso.FileExists(target);
            if (hadTarget[placed])
                fso.MoveFile(target, oldFileOf(target));
            try {
                fso.MoveFile(newFileOf(target), target);
            } catch (const ado::Error&) {
                if (hadTarget[placed])
                    vb::skip([&] { fso.MoveFile(oldFileOf(target), target); });
                throw;
            }
        }
    } catch (const ado::Error& e) {
        for (size_t j = placed; j-- > 0;) {
            const QString& target = copies[j].target;
            vb::skip([&] {
                fso.DeleteFile(target);
                if (hadTarget[j])
                    fso.MoveFile(oldFileOf(target), target);
            });
        }
        for (const DataFileCopy& c : copies)
            removeIfThere(fso, newFileOf(c.target));
        raiseFor(QStringLiteral("The file ") + copies[placed].target + QStringLiteral(" could not be put in place"), e);
    }
    for (const DataFileCopy& c : copies)
        removeIfThere(fso, oldFileOf(c.target));
}

} // namespace

void copyDataFiles(const sys::FileSystemObject& fso, const std::vector<DataFileCopy>& copies)
{
    checkSources(fso, copies);
    makeNewFiles(fso, copies);
    putNewFilesInPlace(fso, copies);
}
