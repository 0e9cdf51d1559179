// The program's start-up and end, each in a child process (they end the
// process).
#include <clocale>
#include <cstdio>

#include "tests/support/child_process.h"
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

ChildResult RunMain(const KzProgram& program, int init_result = 1) {
    return RunInChild([&] {
        glfw2::ScriptedBackend backend;
        backend.SetInitResult(init_result);
        glfw2::UseBackend(&backend);
        std::string log;
        program_backend = &backend;
        program_log = &log;
        const int status = KzZarnikGame::Main(0, nullptr, program);
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

TEST(HostProgramTest, WithoutAnApplicationMainDoesNotRunTheLoop) {
    const ChildResult r = RunMain(KzProgram{});
    EXPECT_EQ(r.exit_status, 0);
    EXPECT_EQ(r.out, "; main 0; windows 0; terminated 1\n");
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

}  // namespace
