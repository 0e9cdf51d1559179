// The desktop's side of host/platform.h.
#include <spawn.h>
#include <sys/wait.h>

#include "host/file_layout.h"
#include "host/glfw3_backend.h"
#include "host/kzglfwgame.h"
#include "host/platform.h"

extern char** environ;

namespace glfw2 {

Backend& Glfw3Backend() {
    static Glfw3 backend;
    return backend;
}

}  // namespace glfw2

namespace host_platform {

void Prepare() { UseFileLayoutWithData(); }

void RunFrames(KzGlfwGame& game) {
    while (game.RunFrame()) {
    }
}

// The address goes to the desktop's opener as one argument of a process
// started without a shell, so no address can run a command. The opener's
// own child is reaped here; its outcome is not waited for beyond that.
void OpenUrl(const std::string& address) {
    std::string argument = address;
    char opener[] = "xdg-open";
    char* argv[] = {opener, argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ) == 0) waitpid(pid, nullptr, 0);
}

// The file system keeps what was written.
void StateSaved() {}

}  // namespace host_platform
