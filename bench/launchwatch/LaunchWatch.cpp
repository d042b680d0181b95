// The launch watcher: starts two programs in turn, A B A B ..., and measures for
// each start the time from launch to its main window being shown, and its peak
// memory at that point.
//
// Under X (--platform xcb) one connection to the X server watches the root
// window for the whole run (SubstructureNotify) and timestamps the MapNotify of
// the launched process's top-level window as it arrives, so no per-try helper
// process adds its own start-up to the figure. Under the offscreen platform
// there is no server to watch: the program loads the shown-probe plugin, which
// writes the moment of its window's first expose into a pipe.
//
// A program may name a title it must show first (the editor's title names the
// character once it is open, after every panel has been filled): it is ready
// when its window is mapped and carries that title. After a settling pause
// (the first paint) the peak resident memory is read from /proc (VmHWM), and
// the process is ended.
//
// Usage:
//   bench_launchwatch [--platform xcb|offscreen] [--pairs N] [--warmup N]
//                     [--settle-ms N] [--timeout-ms N] [--probe-dir DIR]
//                     [--target-ratio R] [--target-extra-mib M]
//                     A_NAME A_TITLE A_PROGRAM A_ARGUMENT B_NAME B_TITLE B_PROGRAM B_ARGUMENT
//   bench_launchwatch --write-character PATH
// An empty TITLE means "mapped is ready"; an empty ARGUMENT means none.

#include "WriteCharacter.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <set>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kShownFd = 197; // the descriptor the probe writes to in the child

struct Program
{
    std::string name;
    std::string readyTitle; // empty: mapped is ready
    std::string path;
    std::string argument; // empty: none
};

struct Sample
{
    double launchMs = 0;
    double cpuMs = 0; // CPU time the process had used by then, all its threads
    double peakMiB = 0;
};

struct Options
{
    std::string platform = "xcb";
    int pairs = 10;
    int warmup = 1;
    int settleMs = 300;
    int timeoutMs = 20000;
    std::string probeDir;
    double targetRatio = 0;    // 0: none
    double targetExtraMiB = 0; // 0: none
    Program a;
    Program b;
};

double NowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

void SleepMs(int ms)
{
    timespec pause{ms / 1000, long(ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

[[noreturn]] void Fail(const std::string &message)
{
    std::fprintf(stderr, "bench_launchwatch: %s\n", message.c_str());
    std::exit(2);
}

// Peak resident set of a live process, in KiB (VmHWM).
long PeakKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// CPU time used so far by every thread of a live process, in ms, from the
// scheduler's own nanosecond counts (/proc/PID/task/TID/schedstat).
double CpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    double ns = 0;
    while (dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        double onCpu = 0;
        if (stat >> onCpu)
            ns += onCpu;
    }
    closedir(dir);
    return ns / 1e6;
}

void EndProcess(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int waited = 0; waited < 3000; waited += 10) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return;
        SleepMs(10);
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
}

bool Exited(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

pid_t Launch(const Program &program, int shownWriteFd)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.path.c_str()));
    if (!program.argument.empty())
        argv.push_back(const_cast<char *>(program.argument.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        Fail(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        if (shownWriteFd >= 0)
            dup2(shownWriteFd, kShownFd);
        execv(program.path.c_str(), argv.data());
        _exit(127);
    }
    return pid;
}

// ---------------------------------------------------------------------------
// Watching the X server

int IgnoreXError(Display *, XErrorEvent *)
{
    return 0; // a window may be gone before we look at it
}

class XWatch
{
public:
    XWatch()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            Fail("cannot open the X display (is DISPLAY set?)");
        XSetErrorHandler(IgnoreXError);
        m_root = DefaultRootWindow(m_display);
        m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        m_netNameAtom = XInternAtom(m_display, "_NET_WM_NAME", False);
        m_utf8Atom = XInternAtom(m_display, "UTF8_STRING", False);
        XSelectInput(m_display, m_root, SubstructureNotifyMask);
        XSync(m_display, False);
    }
    ~XWatch() { XCloseDisplay(m_display); }
    XWatch(const XWatch &) = delete;
    XWatch &operator=(const XWatch &) = delete;

    // Time in ns at which the window of pid was mapped showing readyTitle, or
    // nothing when the process ended or the time ran out first.
    std::optional<double> WaitReady(pid_t pid, const std::string &readyTitle, double deadlineNs)
    {
        std::set<Window> created;
        Window mapped = 0;
        double mappedAt = 0;
        while (NowNs() < deadlineNs) {
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                const double at = NowNs();
                if (event.type == CreateNotify && event.xcreatewindow.parent == m_root
                    && !event.xcreatewindow.override_redirect) {
                    // Before it is mapped, so no later change of its title is missed.
                    created.insert(event.xcreatewindow.window);
                    XSelectInput(m_display, event.xcreatewindow.window, PropertyChangeMask);
                } else if (event.type == MapNotify && !mapped && event.xmap.event == m_root
                           && !event.xmap.override_redirect) {
                    const Window window = event.xmap.window;
                    const long owner = WindowPid(window);
                    if (owner == pid || (owner < 0 && created.count(window))) {
                        mapped = window;
                        mappedAt = at;
                        if (TitleFits(window, readyTitle))
                            return mappedAt;
                    }
                } else if (event.type == PropertyNotify && mapped && event.xproperty.window == mapped
                           && (event.xproperty.atom == m_netNameAtom || event.xproperty.atom == XA_WM_NAME)) {
                    if (TitleFits(mapped, readyTitle))
                        return at;
                }
            }
            if (Exited(pid))
                return std::nullopt;
            pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
            poll(&fd, 1, 50);
        }
        return std::nullopt;
    }

    // Throws away what is left of the last run's events.
    void Drain()
    {
        XSync(m_display, False);
        while (XPending(m_display) > 0) {
            XEvent event;
            XNextEvent(m_display, &event);
        }
    }

private:
    long WindowPid(Window window)
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) == Success
            && data && count == 1 && format == 32)
            pid = long(*reinterpret_cast<unsigned long *>(data));
        if (data)
            XFree(data);
        return pid;
    }

    std::string Title(Window window)
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        std::string title;
        if (XGetWindowProperty(m_display, window, m_netNameAtom, 0, 1024, False, m_utf8Atom, &type,
                               &format, &count, &after, &data) == Success
            && data && format == 8)
            title.assign(reinterpret_cast<const char *>(data), count);
        if (data)
            XFree(data);
        if (title.empty()) {
            char *name = nullptr;
            if (XFetchName(m_display, window, &name) && name) {
                title = name;
                XFree(name);
            }
        }
        return title;
    }

    bool TitleFits(Window window, const std::string &readyTitle)
    {
        return readyTitle.empty() || Title(window).find(readyTitle) != std::string::npos;
    }

    Display *m_display = nullptr;
    Window m_root = 0;
    Atom m_pidAtom = 0;
    Atom m_netNameAtom = 0;
    Atom m_utf8Atom = 0;
};

// ---------------------------------------------------------------------------
// Listening to the shown probe (offscreen platform)

// Reads the probe's lines until the window is shown with readyTitle.
std::optional<double> WaitProbeReady(int readFd, pid_t pid, const std::string &readyTitle,
                                     double deadlineNs)
{
    std::string pending;
    bool shown = false;
    double shownAt = 0;
    while (NowNs() < deadlineNs) {
        pollfd fd{readFd, POLLIN, 0};
        if (poll(&fd, 1, 50) > 0) {
            char buffer[4096];
            const ssize_t got = read(readFd, buffer, sizeof buffer);
            if (got > 0)
                pending.append(buffer, size_t(got));
        }
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            // "E <ns> <title>" or "T <ns> <title>"
            char *rest = nullptr;
            if (line.size() < 3)
                continue;
            const double at = std::strtod(line.c_str() + 2, &rest);
            const std::string title = (rest && *rest == ' ') ? std::string(rest + 1) : std::string();
            const bool fits = readyTitle.empty() || title.find(readyTitle) != std::string::npos;
            if (line[0] == 'E') {
                shown = true;
                shownAt = at;
                if (fits)
                    return shownAt;
            } else if (line[0] == 'T' && shown && fits) {
                return at;
            }
        }
        if (Exited(pid))
            return std::nullopt;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------

struct Runner
{
    Options options;
    std::optional<XWatch> x;

    Sample RunOnce(const Program &program)
    {
        int fds[2] = {-1, -1};
        const bool probe = options.platform == "offscreen";
        if (probe) {
            if (pipe(fds) != 0)
                Fail("pipe");
            fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        } else {
            x->Drain();
        }

        const double launchedAt = NowNs();
        const pid_t pid = Launch(program, probe ? fds[1] : -1);
        const double deadline = launchedAt + double(options.timeoutMs) * 1e6;
        std::optional<double> readyAt;
        if (probe) {
            close(fds[1]);
            readyAt = WaitProbeReady(fds[0], pid, program.readyTitle, deadline);
        } else {
            readyAt = x->WaitReady(pid, program.readyTitle, deadline);
        }
        if (!readyAt) {
            EndProcess(pid);
            Fail(program.name + " (" + program.path + ") did not show its window"
                 + (program.readyTitle.empty() ? std::string() : " titled \"" + program.readyTitle + "\"")
                 + " within " + std::to_string(options.timeoutMs) + " ms");
        }
        const double cpu = CpuMs(pid);
        SleepMs(options.settleMs);
        const long peak = PeakKiB(pid);
        EndProcess(pid);
        if (probe)
            close(fds[0]);
        if (peak < 0)
            Fail(program.name + " ended before its memory could be read");
        return Sample{(*readyAt - launchedAt) / 1e6, cpu, double(peak) / 1024.0};
    }
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n == 0)
        return 0;
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Options ParseOptions(int argc, char **argv)
{
    Options options;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Fail("missing value after " + arg);
            return argv[++i];
        };
        if (arg == "--platform")
            options.platform = value();
        else if (arg == "--pairs")
            options.pairs = std::atoi(value().c_str());
        else if (arg == "--warmup")
            options.warmup = std::atoi(value().c_str());
        else if (arg == "--settle-ms")
            options.settleMs = std::atoi(value().c_str());
        else if (arg == "--timeout-ms")
            options.timeoutMs = std::atoi(value().c_str());
        else if (arg == "--probe-dir")
            options.probeDir = value();
        else if (arg == "--target-ratio")
            options.targetRatio = std::atof(value().c_str());
        else if (arg == "--target-extra-mib")
            options.targetExtraMiB = std::atof(value().c_str());
        else
            positional.push_back(arg);
    }
    if (positional.size() != 8)
        Fail("expected A_NAME A_TITLE A_PROGRAM A_ARGUMENT B_NAME B_TITLE B_PROGRAM B_ARGUMENT");
    if (options.platform != "xcb" && options.platform != "offscreen")
        Fail("--platform is xcb or offscreen");
    if (options.pairs < 1 || options.warmup < 0)
        Fail("--pairs must be at least 1 and --warmup at least 0");
    options.a = {positional[0], positional[1], positional[2], positional[3]};
    options.b = {positional[4], positional[5], positional[6], positional[7]};
    if (options.platform == "offscreen" && options.probeDir.empty())
        Fail("the offscreen platform needs --probe-dir (the folder holding generic/ with the probe)");
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--write-character")
        return WriteBenchCharacter(argv[2]) ? 0 : 1;

    Runner runner;
    runner.options = ParseOptions(argc, argv);
    const Options &o = runner.options;

    setenv("QT_QPA_PLATFORM", o.platform.c_str(), 1);
    if (o.platform == "offscreen") {
        const char *previous = getenv("QT_PLUGIN_PATH");
        std::string path = o.probeDir;
        if (previous && *previous)
            path += std::string(":") + previous;
        setenv("QT_PLUGIN_PATH", path.c_str(), 1);
        setenv("QT_QPA_GENERIC_PLUGINS", "benchshownprobe", 1);
        setenv("BENCH_SHOWN_FD", std::to_string(kShownFd).c_str(), 1);
    } else {
        runner.x.emplace();
    }

    std::printf("launch to window shown, platform %s: %d pair(s) %s / %s after %d warm-up pair(s)\n",
                o.platform.c_str(), o.pairs, o.a.name.c_str(), o.b.name.c_str(), o.warmup);
    for (int i = 0; i < o.warmup; ++i) {
        runner.RunOnce(o.a);
        runner.RunOnce(o.b);
    }

    // Wall-clock time is what the target is about. The CPU time each process had
    // used when its window was up does not count the time it waited for a core
    // that other work held, so it tells the two apart on a busy machine too.
    std::vector<double> aMs, bMs, ratio, aCpu, bCpu, cpuRatio, aMiB, bMiB, diffMiB;
    std::printf("%4s %11s %11s %7s   %11s %11s %7s   %11s %11s %9s\n", "pair", (o.a.name + " ms").c_str(),
                (o.b.name + " ms").c_str(), "ratio", (o.a.name + " cpu").c_str(), (o.b.name + " cpu").c_str(),
                "ratio", (o.a.name + " MiB").c_str(), (o.b.name + " MiB").c_str(), "diff MiB");
    for (int i = 0; i < o.pairs; ++i) {
        const Sample a = runner.RunOnce(o.a);
        const Sample b = runner.RunOnce(o.b);
        aMs.push_back(a.launchMs);
        bMs.push_back(b.launchMs);
        ratio.push_back(a.launchMs / b.launchMs);
        aCpu.push_back(a.cpuMs);
        bCpu.push_back(b.cpuMs);
        cpuRatio.push_back(a.cpuMs / b.cpuMs);
        aMiB.push_back(a.peakMiB);
        bMiB.push_back(b.peakMiB);
        diffMiB.push_back(a.peakMiB - b.peakMiB);
        std::printf("%4d %11.1f %11.1f %7.3f   %11.1f %11.1f %7.3f   %11.1f %11.1f %9.2f\n", i + 1, a.launchMs,
                    b.launchMs, ratio.back(), a.cpuMs, b.cpuMs, cpuRatio.back(), a.peakMiB, b.peakMiB,
                    diffMiB.back());
        std::fflush(stdout);
    }
    std::printf("%4s %11.1f %11.1f %7.3f   %11.1f %11.1f %7.3f   %11.1f %11.1f %9.2f\n", "med", Median(aMs),
                Median(bMs), Median(ratio), Median(aCpu), Median(bCpu), Median(cpuRatio), Median(aMiB),
                Median(bMiB), Median(diffMiB));
    std::printf("RESULT platform=%s %s_ms=%.1f %s_ms=%.1f paired_ratio=%.3f %s_cpu_ms=%.1f %s_cpu_ms=%.1f "
                "paired_cpu_ratio=%.3f %s_mib=%.1f %s_mib=%.1f paired_diff_mib=%.2f\n",
                o.platform.c_str(), o.a.name.c_str(), Median(aMs), o.b.name.c_str(), Median(bMs),
                Median(ratio), o.a.name.c_str(), Median(aCpu), o.b.name.c_str(), Median(bCpu),
                Median(cpuRatio), o.a.name.c_str(), Median(aMiB), o.b.name.c_str(), Median(bMiB),
                Median(diffMiB));
    if (o.targetRatio > 0) {
        const bool met = Median(ratio) <= o.targetRatio;
        std::printf("target: launch %s / %s <= %.2f, paired: %.3f %s\n", o.a.name.c_str(), o.b.name.c_str(),
                    o.targetRatio, Median(ratio), met ? "met" : "MISSED");
    }
    if (o.targetExtraMiB > 0) {
        const bool met = Median(diffMiB) <= o.targetExtraMiB;
        std::printf("target: peak memory %s <= %s + %.1f MiB, paired: +%.2f MiB %s\n", o.a.name.c_str(),
                    o.b.name.c_str(), o.targetExtraMiB, Median(diffMiB), met ? "met" : "MISSED");
    }
    return 0;
}
