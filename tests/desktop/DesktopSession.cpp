#include "DesktopSession.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

DesktopSession* g_current = nullptr;

pid_t spawn(const QByteArray& program, const std::vector<QByteArray>& args, int displayFd = -1)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    const int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, STDIN_FILENO);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    if (displayFd >= 0 && displayFd != 3) {
        dup2(displayFd, 3);
        close(displayFd);
    }
    std::vector<char*> argv{const_cast<char*>(program.constData())};
    for (const QByteArray& a : args)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    execvp(program.constData(), argv.data());
    _exit(127);
}

void stop(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(5000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

std::vector<WId> windowIds(const QString& text)
{
    std::vector<WId> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = hex.globalMatch(text); it.hasNext();)
        ids.push_back(it.next().captured().toULongLong(nullptr, 16));
    return ids;
}

} // namespace

DesktopSession::DesktopSession()
{
    g_current = this;
    start();
}

DesktopSession::~DesktopSession()
{
    stop(openbox_);
    stop(xvfb_);
    g_current = nullptr;
}

DesktopSession* DesktopSession::current() { return g_current; }

void DesktopSession::start()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        skipReason_ = QStringLiteral("Xvfb is not installed");
        return;
    }
    for (const char* tool : {"openbox", "xprop", "xwininfo", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            failReason_ = QStringLiteral("%1 is not installed (scripts/install-deps installs it)").arg(tool);
            return;
        }
    }
    // Xvfb picks a free display and writes its number to fd 3 once it takes connections.
    int fds[2];
    if (pipe(fds) != 0) {
        skipReason_ = QStringLiteral("no pipe for Xvfb");
        return;
    }
    xvfb_ = spawn("Xvfb", {"-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, fds[1]);
    close(fds[1]);
    QByteArray number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (number.isEmpty()) {
        stop(xvfb_);
        skipReason_ = QStringLiteral("Xvfb could not be started");
        return;
    }
    qputenv("DISPLAY", ":" + number);
    openbox_ = spawn("openbox", {});
    for (int i = 0; i < 200; ++i) {
        if (run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QLatin1String("window id")))
            return;
        QThread::msleep(50);
    }
    stop(openbox_);
    stop(xvfb_);
    failReason_ = QStringLiteral("openbox did not start on the Xvfb display");
}

namespace desktop {

std::vector<WId> stackingOrder()
{
    return windowIds(run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")})
                         .section(QLatin1Char('#'), 1));
}

int stackPosition(const QWidget* window)
{
    const std::vector<WId> order = stackingOrder();
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == window->winId())
            return static_cast<int>(i);
    return -1;
}

WId transientFor(const QWidget* window)
{
    const QString text = run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                                       QStringLiteral("WM_TRANSIENT_FOR")});
    const std::vector<WId> ids = windowIds(text.section(QLatin1Char('#'), 1));
    return ids.empty() ? 0 : ids.front();
}

QPoint framePosition(const QWidget* window)
{
    const QString id = QString::number(window->winId());
    const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
    static const QRegularExpression corner(QStringLiteral("Absolute upper-left (X|Y):\\s*(-?\\d+)"));
    QPoint at;
    for (auto it = corner.globalMatch(info); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        (m.captured(1) == QLatin1String("X") ? at.rx() : at.ry()) = m.captured(2).toInt();
    }
    // left, right, top, bottom
    const QStringList extents = run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")})
                                    .section(QLatin1Char('='), 1)
                                    .split(QLatin1Char(','));
    if (extents.size() == 4)
        at -= QPoint(extents[0].trimmed().toInt(), extents[2].trimmed().toInt());
    return at;
}

bool maximised(const QWidget* window)
{
    const QString state = run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                                        QStringLiteral("_NET_WM_STATE")});
    return state.contains(QLatin1String("_NET_WM_STATE_MAXIMIZED_VERT"))
           && state.contains(QLatin1String("_NET_WM_STATE_MAXIMIZED_HORZ"));
}

void drag(const QPoint& from, const QPoint& to)
{
    auto moveTo = [](const QPoint& p) {
        return QStringList{QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())};
    };
    run(QStringLiteral("xdotool"), moveTo(from) << QStringLiteral("mousedown") << QStringLiteral("1"));
    // In two steps, as a hand moves: the window manager starts a move only once the pointer goes.
    run(QStringLiteral("xdotool"), moveTo((from + to) / 2) << QStringLiteral("sleep") << QStringLiteral("0.1"));
    run(QStringLiteral("xdotool"), moveTo(to) << QStringLiteral("sleep") << QStringLiteral("0.1")
                                              << QStringLiteral("mouseup") << QStringLiteral("1"));
}

void click(const QPoint& global, int count)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(global.x()),
                                    QString::number(global.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
                                    QString::number(count), QStringLiteral("--delay"), QStringLiteral("80"),
                                    QStringLiteral("1")});
}

void click(const QWidget* widget, int count)
{
    click(widget->mapToGlobal(widget->rect().center()), count);
}

void key(const QString& name)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), name});
}

WId activeWindow()
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).trimmed().toULongLong();
}

bool screenshot(const QString& path)
{
    return QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}) == 0;
}

} // namespace desktop
