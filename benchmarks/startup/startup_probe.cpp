// Times exec-to-window of programs on one X display, taking them in turn run by run, and
// prints each one's median and its ratio to the last program (the yardstick). The wait is
// exact: the clock stops at the X server's MapNotify for the program's first top-level
// window (with a window manager, its frame), no polling.
//
//   startup_probe RUNS PROGRAM... YARDSTICK
//
// Each program runs from its own folder (the program reads its databases from there) and is
// killed once its window is on screen.
#include <X11/Xlib.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The time the program's main thread has spent on a processor, in ms (-1 when unknown).
double mainThreadCpuMs(pid_t pid)
{
    FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/schedstat").c_str(), "r");
    if (!f)
        return -1;
    unsigned long long ns = 0;
    const bool ok = std::fscanf(f, "%llu", &ns) == 1;
    std::fclose(f);
    return ok ? ns / 1e6 : -1;
}

struct Start {
    double wallMs = -1;   // exec to the window on screen
    double cpuMs = -1;    // of it, the main thread's time on a processor
};

// Starts the program and waits for its first top-level window to be mapped.
Start timeOneStart(Display* dpy, const std::string& program)
{
    XSync(dpy, True);   // nothing left over from the previous run
    const double t0 = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folderOf(program).c_str()) != 0)
            _exit(126);
        freopen("/dev/null", "w", stderr);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    Start result;
    if (pid < 0)
        return result;
    const double deadline = t0 + 20000;
    while (nowMs() < deadline) {
        if (XPending(dpy) == 0) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)   // died before showing anything
                return result;
            usleep(200);
            continue;
        }
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == MapNotify && !ev.xmap.override_redirect) {
            result.wallMs = nowMs() - t0;
            result.cpuMs = mainThreadCpuMs(pid);
            break;
        }
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return result;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM... YARDSTICK\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const std::vector<std::string> programs(argv + 2, argv + argc);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "startup_probe: cannot open the X display\n");
        return 2;
    }
    // Every top-level map (or, with a window manager, every frame it maps) shows on the root.
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);

    std::vector<std::vector<double>> wall(programs.size()), cpu(programs.size());
    for (int round = -1; round < runs; ++round) {   // round -1 warms the file cache
        for (size_t p = 0; p < programs.size(); ++p) {
            const Start s = timeOneStart(dpy, programs[p]);
            if (s.wallMs < 0) {
                std::fprintf(stderr, "startup_probe: %s showed no window\n", programs[p].c_str());
                return 1;
            }
            if (round >= 0) {
                wall[p].push_back(s.wallMs);
                cpu[p].push_back(s.cpuMs);
            }
        }
    }
    const double yardstick = median(wall.back()), cpuYardstick = median(cpu.back());
    for (size_t p = 0; p < programs.size(); ++p) {
        const auto [lo, hi] = std::minmax_element(wall[p].begin(), wall[p].end());
        const std::string name = programs[p].substr(programs[p].rfind('/') + 1);
        std::printf("%-14s exec to window: median %6.1f ms (min %.1f, max %.1f), ratio %.2f;"
                    "  main thread on a processor: %5.1f ms, ratio %.2f\n",
                    name.c_str(), median(wall[p]), *lo, *hi, median(wall[p]) / yardstick, median(cpu[p]),
                    median(cpu[p]) / cpuYardstick);
    }
    XCloseDisplay(dpy);
    return 0;
}
