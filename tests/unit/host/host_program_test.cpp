// The program's start-up and end, each in a child process (they end the
// process).
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/unit/host/host_support.h"

namespace {

glfw2::ScriptedBackend* program_backend = nullptr;  // set inside the child
std::string* program_log = nullptr;

void InitModules() {
    *program_log += "init(" + std::string(std::setlocale(LC_CTYPE, nullptr)) + ")";
    if (gc_unmarked_list.succ == &gc_unmarked_list) *program_log += " empty-heap";
}

void CreateApplication() {
    *program_log += " create";
    auto* delegate = new RecordingDelegate();
    delegate->on_render = [] { glfw2::glfwCloseWindow(); };
    delegate->on_start = [] { *program_log += " start"; };
    KzGame::_game->SetDelegate(delegate);
}

// Main run in a child from a scratch folder that holds data/, as the
// build-folder layout wants, with the given arguments after the program's name.
ChildResult RunMain(const KzProgram& program, int init_result = 1, std::vector<const char*> args = {},
                    bool with_data = true) {
    ScratchWorkingDir folder;
    if (with_data) mkdir("data", 0755);
    args.insert(args.begin(), "tarvolan");
    return RunInChild([&] {
        glfw2::ScriptedBackend backend;
        backend.SetInitResult(init_result);
        glfw2::UseBackend(&backend);
        std::string log;
        program_backend = &backend;
        program_log = &log;
        const int status = KzZarnikGame::Main(static_cast<int>(args.size()), args.data(), program);
        std::printf("%s; main %d; windows %zu; terminated %d\n", log.c_str(), status, backend.openings.size(),
                    backend.terminations);
    });
}

TEST(HostProgramTest, MainStartsTheRuntimeBuildsTheApplicationAndRunsTheLoop) {
    const ChildResult r = RunMain(KzProgram{InitModules, CreateApplication});
    EXPECT_EQ(r.exit_status, 0);
    // The character locale is en_US.UTF-8 where the system has it, else the user's.
    const std::string locale = RunInChild([] {
                                   const char* name = std::setlocale(LC_CTYPE, "en_US.UTF-8");
                                   std::printf("%s", name ? name : std::setlocale(LC_CTYPE, ""));
                               }).out;
    EXPECT_EQ(r.out, "init(" + locale + ") empty-heap create start; main 0; windows 1; terminated 1\n");
}

TEST(HostProgramTest, AFailedWindowSystemStartEndsWithStatus255) {
    const ChildResult r = RunMain(KzProgram{InitModules, CreateApplication}, 0);
    EXPECT_EQ(r.exit_status, 255);
    EXPECT_EQ(r.out, "glfwInit failed\n");
}

TEST(HostProgramTest, AnExceptionWhileBuildingTheApplicationEndsTheProgram) {
    const ChildResult r = RunMain(KzProgram{InitModules, [] {
        std::printf("terminated before: %d\n", program_backend->terminations);
        throw new ThrowableObject();
    }});
    EXPECT_EQ(r.exit_status, 255);
    EXPECT_EQ(r.out, "terminated before: 0\nZarnik Runtime Error : Uncaught Zarnik Exception\n");
}

TEST(HostProgramTest, TheCommandLineAnswersVersionAndHelpAndRefusesAnythingElse) {
    const std::string help = RunMain(KzProgram{}, 1, {"--help"}).out;
    EXPECT_EQ(help.rfind("usage: tarvolan [--version | --help]\n", 0), 0u) << help;
    EXPECT_LE(std::count(help.begin(), help.end(), '\n'), 2);
    struct Case {
        std::vector<const char*> args;
        int status;
        std::string out, err;
    };
    const Case cases[] = {
        {{"--version"}, 0, "tarvolan " TARVOLAN_VERSION "\n", ""},
        {{"--help"}, 0, help, ""},
        {{"--verbose"}, 2, "", help},
        {{"-h"}, 2, "", help},
        {{"--version", "--help"}, 2, "", help},
        {{""}, 2, "", help},
    };
    for (const Case& c : cases) {
        const ChildResult r = RunMain(KzProgram{InitModules, CreateApplication}, 1, c.args);
        EXPECT_EQ(r.exit_status, c.status) << c.args[0];
        EXPECT_EQ(r.out, c.out) << c.args[0] << ": nothing starts";
        EXPECT_EQ(r.err, c.err) << c.args[0];
    }
}

// Started where no data folder is, beside neither the working folder nor the
// program, it names both places and ends before opening a window.
TEST(HostProgramTest, WithoutADataFolderAnywhereItSaysWhereItLookedAndEndsWithStatus255) {
    const ChildResult r = RunMain(KzProgram{InitModules, CreateApplication}, 1, {}, false);
    EXPECT_EQ(r.exit_status, 255);
    EXPECT_EQ(r.out, "");
    const std::string said = "tarvolan: no data folder found (looked in ./data/ and /";
    EXPECT_EQ(r.err.rfind(said, 0), 0u) << r.err;
    const std::string installed = "/share/tarvolan/data/)\n";
    EXPECT_EQ(r.err.find(installed), r.err.size() - installed.size()) << r.err;
}

}  // namespace
