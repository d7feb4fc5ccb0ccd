// Starting programs, opening files and shutting down, through the desktop's own tools.
#include "Desktop.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <QStandardPaths>

namespace sys {

namespace {

// What xdg-open's exit status says (its manual lists them); -1: it did not end by itself.
QString openerFailure(int status)
{
    switch (status) {
    case 2: return QStringLiteral("the file could not be found");
    case 3:
    case 4: return QStringLiteral("no program on this computer opens this kind of document");
    case -1: return QStringLiteral("the desktop's opener stopped");
    default: return QStringLiteral("the desktop's opener failed with status %1").arg(status);
    }
}

// Plain-text editors commonly found on a Linux desktop, most common first.
const char* const kTextEditors[] = {"gnome-text-editor", "gedit", "mousepad", "kate", "kwrite",
                                    "xed", "pluma", "featherpad", "leafpad", "xedit"};

class RealDesktop : public Desktop {
public:
    bool startProgram(const QString& key, const QStringList& arguments) override
    {
        QString program;
        if (key.compare(QLatin1String("Notepad"), Qt::CaseInsensitive) == 0) {
            for (const char* name : kTextEditors) {
                program = QStandardPaths::findExecutable(QString::fromLatin1(name));
                if (!program.isEmpty())
                    break;
            }
        } else {
            program = QStandardPaths::findExecutable(key);
        }
        if (program.isEmpty())
            return false;
        return QProcess::startDetached(program, arguments);
    }

    // xdg-open finds the application, starts it and ends, or ends with a status that says why it
    // could not; watched from the event loop, so the program goes on meanwhile. Nothing connects
    // the two programs' input and output: the application may outlive this program, whose end
    // stops at most a still-running xdg-open, never what it started.
    bool openFile(const QString& path, OpenFailed failed) override
    {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return false;
        auto* process = new QProcess(QCoreApplication::instance());
        process->setProgram(opener);
        process->setArguments({path});
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process, &QProcess::finished, process,
                         [process, failed](int code, QProcess::ExitStatus status) {
                             if (failed && (status != QProcess::NormalExit || code != 0))
                                 failed(openerFailure(status == QProcess::NormalExit ? code : -1));
                             process->deleteLater();
                         });
        process->start();
        if (!process->waitForStarted()) {
            delete process;
            return false;
        }
        return true;
    }

    bool shutDown() override
    {
        const QString systemctl = QStandardPaths::findExecutable(QStringLiteral("systemctl"));
        if (systemctl.isEmpty())
            return false;
        return QProcess::execute(systemctl, {QStringLiteral("poweroff")}) == 0;
    }
};

std::unique_ptr<Desktop>& current()
{
    static std::unique_ptr<Desktop> d = std::make_unique<RealDesktop>();
    return d;
}

} // namespace

Desktop& desktop() { return *current(); }

void setDesktop(std::unique_ptr<Desktop> replacement)
{
    current() = replacement ? std::move(replacement) : std::make_unique<RealDesktop>();
}

bool RecordingDesktop::startProgram(const QString& key, const QStringList&)
{
    started << key;
    return startResult;
}

bool RecordingDesktop::openFile(const QString& path, OpenFailed failed)
{
    opened << path;
    if (openResult && !openFailure.isEmpty() && failed)
        QTimer::singleShot(0, QCoreApplication::instance(), [failed, why = openFailure] { failed(why); });
    return openResult;
}

bool RecordingDesktop::shutDown()
{
    ++shutDownRequests;
    return shutDownResult;
}

} // namespace sys
