// Starting programs, opening files and shutting down, through the desktop's own tools.
#include "Desktop.h"

#include <QProcess>
#include <QStandardPaths>

namespace sys {

namespace {

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

    bool openFile(const QString& path) override
    {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty())
            return false;
        return QProcess::startDetached(opener, {path});
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

bool RecordingDesktop::openFile(const QString& path)
{
    opened << path;
    return openResult;
}

bool RecordingDesktop::shutDown()
{
    ++shutDownRequests;
    return shutDownResult;
}

} // namespace sys
