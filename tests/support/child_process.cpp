#include "tests/support/child_process.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool in_child = false;

// A child that stays silent this long is stuck: it is killed, so the test
// fails instead of hanging.
constexpr int kSilenceLimitMs = 120000;

struct Stream { int fd; std::string* sink; };

// Reads every stream into its sink until all are closed (a terminal reports
// an error instead of the end once the child is gone: the same here).
void Collect(pid_t pid, std::vector<Stream> streams) {
    std::vector<pollfd> fds;
    for (const Stream& s : streams) fds.push_back({s.fd, POLLIN, 0});
    size_t open = streams.size();
    while (open > 0) {
        if (poll(fds.data(), fds.size(), kSilenceLimitMs) <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || !fds[i].revents) continue;
            char chunk[4096];
            const ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
            if (n > 0) {
                streams[i].sink->append(chunk, static_cast<size_t>(n));
            } else {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const Stream& s : streams) close(s.fd);
}

void Finish(pid_t pid, ChildResult& result) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exit_status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
}

[[noreturn]] void RunBody(const std::function<void()>& body) {
    in_child = true;
    body();
    std::fflush(nullptr);
    _exit(0);
}

}  // namespace

// A child ends through exit() with the parent's whole heap still in place; the
// leak checker of the sanitizer build would report that heap as leaked.
extern "C" int __lsan_is_turned_off() { return in_child ? 1 : 0; }

ChildResult RunInChild(const std::function<void()>& body, const std::string& stdin_text) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) std::abort();
    std::fflush(stdout);
    std::fflush(stderr);

    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        RunBody(body);
    }

    close(in[0]);
    close(out[1]);
    close(err[1]);
    // The texts are small; a child that dies early only closes its end.
    std::signal(SIGPIPE, SIG_IGN);
    if (!stdin_text.empty()) {
        [[maybe_unused]] ssize_t written = write(in[1], stdin_text.data(), stdin_text.size());
    }
    close(in[1]);

    ChildResult result;
    Collect(pid, {{out[0], &result.out}, {err[0], &result.err}});
    Finish(pid, result);
    return result;
}

ChildResult RunInTerminal(const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    int terminal = -1;
    const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid < 0) std::abort();
    if (pid == 0) RunBody(body);

    ChildResult result;
    Collect(pid, {{terminal, &result.out}});
    Finish(pid, result);
    return result;
}

std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

CommandResult RunCommand(const std::vector<std::string>& command) {
    const ChildResult r = RunInChild([&] {
        std::vector<std::string> args = command;
        std::vector<char*> argv = Argv(args);
        execvp(argv[0], argv.data());
        std::_Exit(127);
    });
    return CommandResult{r.exited ? r.exit_status : -1, r.out};
}
