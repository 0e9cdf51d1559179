// The program's start-up order and its end.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "host/file_layout.h"
#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"

namespace {

const char kHelp[] =
    "usage: tarvolan [--version | --help]\n"
    "Without arguments, starts Tarvolan, a small arcade game, in a window.\n";

// The command line knows two questions; anything else is a mistake that the
// help answers. Returns only when the game is to start.
void AnswerCommandLine(int argc, const char** argv) {
    if (argc < 2) return;
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarvolan %s\n", TARVOLAN_VERSION);
        std::exit(0);
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kHelp, stdout);
        std::exit(0);
    }
    std::fputs(kHelp, stderr);
    std::exit(2);
}

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

int KzZarnikGame::Main(int argc, const char** argv, const KzProgram& program) {
    AnswerCommandLine(argc, argv);
    UseFileLayoutWithData();
    if (!glfw2::glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        const std::string reason = glfw2::glfwLastFailure();
        if (!reason.empty()) std::fprintf(stderr, "glfwInit failed: %s\n", reason.c_str());
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
