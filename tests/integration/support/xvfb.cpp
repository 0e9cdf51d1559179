#include "tests/integration/support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

// The window system's libraries load the OpenGL driver at run time and unload
// it when the window system is shut down; a leak report about the driver's
// one-time allocations could then no longer name the library, and the
// sanitizer's suppressions of system libraries would miss it. Window tests
// keep every library loaded until the process ends.
extern "C" int dlclose(void*) { return 0; }

namespace {

constexpr int kStartTimeoutMs = 20000;

std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

}  // namespace

bool XvfbServer::Start(const std::vector<std::string>& more_arguments) {
    int fds[2];
    if (pipe(fds) != 0) {
        error_ = "pipe failed";
        return false;
    }
    // The server writes its display number to this pipe once it is ready.
    // Without -noreset it resets whenever its last client leaves, and a
    // client connecting during the reset is refused.
    std::vector<std::string> args = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                                     "-nolisten", "tcp", "-noreset"};
    args.insert(args.end(), more_arguments.begin(), more_arguments.end());
    std::vector<char*> argv = Argv(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        pid_ = -1;
        close(fds[0]);
        error_ = "Xvfb could not be started";
        return false;
    }

    constexpr int kStartTimeoutMs = 20000;
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    while (poll(&ready, 1, kStartTimeoutMs) == 1) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        error_ = "Xvfb did not report a display";
        Stop();
        return false;
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    return true;
}

void XvfbServer::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
