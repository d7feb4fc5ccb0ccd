// The resolution changer on Linux: xrandr, run twice (the query names the output and tells
// whether it offers the mode; the second run sets it). Both runs are waited for, at most ten
// seconds each, so the caller knows the outcome before it goes on.
#include "ChangeRes.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace sys {

namespace {

constexpr int kWaitMs = 10000;

bool failWith(QString* problem, const QString& text)
{
    if (problem)
        *problem = text;
    return false;
}

// Runs xrandr with `arguments`; false with `problem` set when it did not finish well.
bool runXrandr(const QString& program, const QStringList& arguments, QString* output, QString* problem)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(kWaitMs))
        return failWith(problem, QStringLiteral("the program xrandr could not be started"));
    if (!process.waitForFinished(kWaitMs)) {
        process.kill();
        process.waitForFinished(1000);
        return failWith(problem, QStringLiteral("xrandr did not answer in time"));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return failWith(problem, said.isEmpty() ? QStringLiteral("xrandr refused the request")
                                                : QStringLiteral("xrandr says: ") + said);
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return true;
}

class XrandrChangeRes : public ChangeRes {
public:
    bool ChangeResolution(int width, int height, QString* problem) override
    {
        const QString xrandr = QStandardPaths::findExecutable(QStringLiteral("xrandr"));
        if (xrandr.isEmpty())
            return failWith(problem, QStringLiteral("the program xrandr, which changes the resolution of an X "
                                                    "session, is not installed"));
        // Without an X session the query fails ("Can't open display") and nothing is changed.
        QString query;
        if (!runXrandr(xrandr, {QStringLiteral("--query")}, &query, problem))
            return false;
        const QStringList arguments = xrandrModeArguments(query, width, height, problem);
        if (arguments.isEmpty())
            return false;
        return runXrandr(xrandr, arguments, nullptr, problem);
    }
};

std::unique_ptr<ChangeRes>& current()
{
    static std::unique_ptr<ChangeRes> c = std::make_unique<XrandrChangeRes>();
    return c;
}

} // namespace

ChangeRes& changeRes() { return *current(); }

void setChangeRes(std::unique_ptr<ChangeRes> replacement)
{
    current() = replacement ? std::move(replacement) : std::make_unique<XrandrChangeRes>();
}

QStringList xrandrModeArguments(const QString& queryOutput, int width, int height, QString* problem)
{
    // An output line starts at the margin: "<name> connected [primary] ..."; its modes follow,
    // indented, each starting with its name ("1024x768"; variants such as "1024x768i" are
    // other modes).
    static const QRegularExpression outputLine(QStringLiteral("^(\\S+) connected( primary)?\\b"));
    struct Output {
        QString name;
        bool primary = false;
        QStringList modes;
    };
    QList<Output> outputs;
    bool inConnected = false;
    for (const QString& line : queryOutput.split(QLatin1Char('\n'))) {
        if (line.isEmpty())
            continue;
        if (!line.at(0).isSpace()) {
            const QRegularExpressionMatch m = outputLine.match(line);
            inConnected = m.hasMatch();
            if (inConnected)
                outputs.append({m.captured(1), !m.captured(2).isEmpty(), {}});
            continue;
        }
        if (inConnected)
            outputs.last().modes << line.trimmed().section(QLatin1Char(' '), 0, 0);
    }
    if (outputs.isEmpty()) {
        failWith(problem, QStringLiteral("the X server reports no connected screen"));
        return {};
    }
    // The program's screen is the primary output; without one, the first connected output.
    const Output* screen = &outputs.first();
    for (const Output& o : outputs)
        if (o.primary) {
            screen = &o;
            break;
        }
    const QString mode = QStringLiteral("%1x%2").arg(width).arg(height);
    if (!screen->modes.contains(mode)) {
        failWith(problem, QStringLiteral("the screen does not offer %1 x %2").arg(width).arg(height));
        return {};
    }
    return {QStringLiteral("--output"), screen->name, QStringLiteral("--mode"), mode};
}

bool RecordingChangeRes::ChangeResolution(int width, int height, QString* problem)
{
    requests << QSize(width, height);
    if (this->problem.isEmpty())
        return true;
    return failWith(problem, this->problem);
}

} // namespace sys
