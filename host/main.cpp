// The program's start-up order and its end.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"

namespace {

// Crashes, and memory that runs out inside the C++ library, end with a
// fatal report rather than silently.
void InstallCrashHandlers() {
    std::signal(SIGSEGV, sighandler);
    std::signal(SIGILL, sighandler);
    std::signal(SIGFPE, sighandler);
    std::set_new_handler(dbg_out_of_memory);
}

void SetCharacterLocale() {
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
}

}  // namespace

int KzZarnikGame::Main(int, const char**, const KzProgram& program) {
    if (!glfw2::glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }

    // The one host object lives for the whole run.
    auto* game = new KzZarnikGame();
    _game = game;
    _glfwGame = game;

    InstallCrashHandlers();
    SetCharacterLocale();
    gc_init();

    try {
        if (program.initModules) program.initModules();
        gc_mark();
        if (program.createApplication) program.createApplication();
    } catch (ThrowableObject* ex) {
        glfw2::glfwTerminate();
        game->Die(ex);
    }

    if (game->Delegate()) game->Run();

    glfw2::glfwTerminate();
    return 0;
}
