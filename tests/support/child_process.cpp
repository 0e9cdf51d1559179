#include "tests/support/child_process.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

bool in_child = false;

void DrainInto(int fd, std::string& sink, bool& open) {
    char chunk[4096];
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n > 0) {
        sink.append(chunk, static_cast<size_t>(n));
    } else {
        open = false;
    }
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
        in_child = true;
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        body();
        std::fflush(nullptr);
        _exit(0);
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
    bool out_open = true, err_open = true;
    // A child that stays silent this long is stuck: it is killed, so the
    // test fails instead of hanging.
    constexpr int kSilenceLimitMs = 120000;
    while (out_open || err_open) {
        pollfd fds[2] = {{out_open ? out[0] : -1, POLLIN, 0}, {err_open ? err[0] : -1, POLLIN, 0}};
        if (poll(fds, 2, kSilenceLimitMs) <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        if (out_open && fds[0].revents) DrainInto(out[0], result.out, out_open);
        if (err_open && fds[1].revents) DrainInto(err[0], result.err, err_open);
    }
    close(out[0]);
    close(err[0]);

    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exit_status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

CommandResult RunCommand(const std::vector<std::string>& command) {
    const ChildResult r = RunInChild([&] {
        std::vector<std::string> args = command;
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        std::_Exit(127);
    });
    return CommandResult{r.exited ? r.exit_status : -1, r.out};
}
