// Platform actions that leave the program: starting a text editor, opening a file in the
// desktop's own application, shutting the computer down. Each goes through an interface
// with a real implementation and a test double (install one with setDesktop()).
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace sys {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Starts the program known by `key` ("Notepad": the desktop's plain-text editor).
    // Returns false when it could not be started.
    virtual bool startProgram(const QString& key, const QStringList& arguments = {}) = 0;
    // What went wrong, on the program's thread, when opening a file failed after it started.
    using OpenFailed = std::function<void(const QString& why)>;
    // Opens a file in the application the desktop associates with it. False when the desktop's
    // opener cannot be started; a failure after that (no application opens this kind of file)
    // comes later through `failed`, and the program never waits for it.
    virtual bool openFile(const QString& path, OpenFailed failed = {}) = 0;
    // Asks the system to shut down; false when the request was refused.
    virtual bool shutDown() = 0;
};

Desktop& desktop();
// Installs a replacement (tests); nullptr restores the real one.
void setDesktop(std::unique_ptr<Desktop> replacement);

// A recording double for tests: remembers every request and answers with the given results.
class RecordingDesktop : public Desktop {
public:
    bool startProgram(const QString& key, const QStringList& arguments = {}) override;
    bool openFile(const QString& path, OpenFailed failed = {}) override;
    bool shutDown() override;

    QStringList started;        // keys
    QStringList opened;         // paths
    int shutDownRequests = 0;
    bool startResult = true;
    bool openResult = true;
    QString openFailure;        // not empty: each open started fails afterwards with this
    bool shutDownResult = true;
};

} // namespace sys
