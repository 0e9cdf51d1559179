// Exec to the first complete title frame of the real program, and the
// program's whole-process CPU while it sits on the title. Each run starts the
// program under a private Xvfb with start_probe preloaded, which notes every
// data file opened and every buffer swap with one pixel's colour; the title
// is the first frame on the title's background after the loading screen.
//
//   title_start [--runs N] [--cpu-seconds S] [--program PATH] [--data DIR]
//
// --program and --data let one session measure another build (an older one,
// say) with the same probe, side by side.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/title_start/screen_colours.h"
#include "tests/integration/support/xvfb.h"

namespace {

namespace fs = std::filesystem;

constexpr auto kRunBound = std::chrono::seconds(60);
constexpr auto kPollStep = std::chrono::milliseconds(5);

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

struct Options {
    int runs = 5;
    int cpuSeconds = 0;
    std::string program = TARVOLAN_PROGRAM;
    std::string data = TARVOLAN_DATA_DIR;
};

// What one start showed, in milliseconds from just before the exec.
struct Start {
    double loaded = -1;        // the libraries are loaded, the program's code begins
    double startUp = 0;        // time spent inside GLFW's and OpenAL's start-up calls
    double window = -1;        // the window exists
    double firstSwap = -1;     // the first frame shown
    double firstLoading = -1;  // the first frame of the loading screen
    double lastLoadingOpen = -1;
    double title = -1;         // the first frame of the title
    double longestLoadingGap = 0;  // the longest time between two frames of the loading screen and the title
    int loadingFrames = 0;
};

// Reads the probe's notes; true once the title frame has been seen.
bool ReadNotes(const std::string& log, long long execNs, Start* start) {
    std::ifstream in(log);
    std::string line;
    double lastSwap = 0;
    *start = Start{};
    auto ms = [execNs](long long ns) { return (ns - execNs) / 1e6; };
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        long long ns = 0;
        fields >> kind >> ns;
        if (kind == "loaded" && start->loaded < 0) start->loaded = ms(ns);
        if (kind == "window" && start->window < 0) start->window = ms(ns);
        if (kind == "span") {
            long long end = 0;
            fields >> end;
            start->startUp += (end - ns) / 1e6;
        }
        if (kind == "open" && start->title < 0) start->lastLoadingOpen = ms(ns);
        if (kind != "swap") continue;
        int colour[3] = {};
        fields >> colour[0] >> colour[1] >> colour[2];
        if (!fields) continue;
        if (start->firstSwap < 0) start->firstSwap = ms(ns);
        if (start->firstLoading >= 0) start->longestLoadingGap = std::max(start->longestLoadingGap, ms(ns) - lastSwap);
        lastSwap = ms(ns);
        if (SameColour(colour, kLoadingColour)) {
            if (start->firstLoading < 0) start->firstLoading = ms(ns);
            ++start->loadingFrames;
        } else if (SameColour(colour, kTitleColour) && start->firstLoading >= 0) {
            start->title = ms(ns);
            return true;
        }
    }
    return false;
}

// User plus system time of the whole process, in clock ticks.
long long ProcessTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    // Fields 3 to 13 come before utime (14) and stime (15).
    for (int i = 3; i <= 13; ++i) fields >> field;
    fields >> utime >> stime;
    return fields ? utime + stime : -1;
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

pid_t Launch(const Options& options, const fs::path& folder, const std::string& log) {
    // The child must not write out what this process has buffered.
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid != 0) return pid;
    if (chdir(folder.c_str()) != 0) _exit(127);
    setenv("LD_PRELOAD", START_PROBE, 1);
    setenv("TITLE_START_LOG", log.c_str(), 1);
    setenv("ALSOFT_CONF", (folder / "alsoft.conf").c_str(), 1);
    if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(127);
    execl(options.program.c_str(), options.program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

void Stop(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// One start to the title; with cpuSeconds, then that long on the title.
bool RunOnce(const Options& options, const fs::path& folder, int index, Start* start, double* cpuShare) {
    const std::string log = (folder / ("run" + std::to_string(index) + ".log")).string();
    const long long execNs = NowNs();
    const pid_t pid = Launch(options, folder, log);
    if (pid < 0) return false;
    const auto giveUp = std::chrono::steady_clock::now() + kRunBound;
    bool seen = false;
    while (!(seen = ReadNotes(log, execNs, start)) && std::chrono::steady_clock::now() < giveUp) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
        std::this_thread::sleep_for(kPollStep);
    }
    if (seen && options.cpuSeconds > 0) {
        const long long before = ProcessTicks(pid);
        const long long beganNs = NowNs();
        std::this_thread::sleep_for(std::chrono::seconds(options.cpuSeconds));
        const long long after = ProcessTicks(pid);
        const double wall = (NowNs() - beganNs) / 1e9;
        *cpuShare = 100.0 * (after - before) / sysconf(_SC_CLK_TCK) / wall;
    }
    Stop(pid);
    return seen;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--runs") options->runs = std::atoi(argv[i + 1]);
        else if (name == "--cpu-seconds") options->cpuSeconds = std::atoi(argv[i + 1]);
        else if (name == "--program") options->program = fs::absolute(argv[i + 1]).string();
        else if (name == "--data") options->data = fs::absolute(argv[i + 1]).string();
        else return false;
    }
    return argc % 2 == 1 && options->runs > 0 && options->cpuSeconds >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "usage: %s [--runs N] [--cpu-seconds S] [--program PATH] [--data DIR]\n", argv[0]);
        return 2;
    }
    XvfbServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "%s\n", server.Error().c_str());
        return 1;
    }
    char pattern[] = "/tmp/title_start.XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const fs::path folder = pattern;
    fs::create_directory_symlink(options.data, folder / "data");
    std::ofstream(folder / "alsoft.conf") << "[general]\ndrivers=null\n";

    std::printf("%-4s %7s %9s %7s %7s %8s %10s %8s %7s %8s %6s\n", "run", "loaded", "GLFW+AL", "window", "first",
                "loading", "last file", "title", "frames", "longest", "cpu%");
    std::vector<double> loads, startUps, windows, titles, loadings, lastOpens, gaps, cpu;
    for (int run = 0; run < options.runs; ++run) {
        Start start;
        double share = -1;
        if (!RunOnce(options, folder, run, &start, &share)) {
            std::fprintf(stderr, "run %d: no title frame within the bound\n", run);
            continue;
        }
        std::printf("%-4d %7.0f %9.0f %7.0f %7.0f %8.0f %10.0f %8.0f %7d %8.0f %6.1f\n", run, start.loaded,
                    start.startUp, start.window, start.firstSwap, start.firstLoading, start.lastLoadingOpen,
                    start.title, start.loadingFrames, start.longestLoadingGap, share);
        gaps.push_back(start.longestLoadingGap);
        loads.push_back(start.loaded);
        startUps.push_back(start.startUp);
        windows.push_back(start.window);
        loadings.push_back(start.firstLoading);
        lastOpens.push_back(start.lastLoadingOpen);
        titles.push_back(start.title);
        if (share >= 0) cpu.push_back(share);
    }
    std::printf("median ms from exec: libraries loaded %.0f, window %.0f, loading screen %.0f, last file %.0f, "
                "title %.0f; inside GLFW and OpenAL start-up %.0f; loading screen to title %.0f, its longest "
                "frame %.0f",
                Median(loads), Median(windows), Median(loadings), Median(lastOpens), Median(titles),
                Median(startUps), Median(titles) - Median(loadings), Median(gaps));
    if (!cpu.empty()) std::printf("; title CPU %.1f%% of a core over %d s", Median(cpu), options.cpuSeconds);
    std::printf(" (load %s)\n", LoadAverage().c_str());
    fs::remove_all(folder);
    return titles.empty() ? 1 : 0;
}
