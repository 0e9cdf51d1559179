// The real program in a private X server, started from a scratch folder that
// links the generated data folder, and pictures of its window read back from
// the server.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/e2e/x_window.h"
#include "tests/integration/support/xvfb.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/support/wait_until.h"

extern char** environ;

constexpr std::chrono::seconds kBound(15);
constexpr std::chrono::milliseconds kPoll(20);

// A picture of the window, judged at a few points with a small tolerance or
// by counting the pixels of a kind in a rectangle.
struct Screenshot {
    WindowPixels pixels;

    static Screenshot Of(const std::string& window) { return {ReadWindowPixels(window)}; }
    bool Reaches(int x, int y) const { return x < pixels.width && y < pixels.height; }
    // False outside the picture.
    bool Near(int x, int y, std::uint32_t rgb, int tolerance = 6) const {
        if (!Reaches(x, y)) return false;
        const std::uint32_t p = pixels.At(x, y);
        for (int shift : {16, 8, 0}) {
            if (std::abs(int(p >> shift & 0xff) - int(rgb >> shift & 0xff)) > tolerance) return false;
        }
        return true;
    }
    // Pixels in the rectangle that `wanted(red, green, blue)` accepts; none
    // when the picture does not reach that far.
    template <class Wanted>
    int Count(int x0, int y0, int x1, int y1, Wanted wanted) const {
        if (!Reaches(x1 - 1, y1 - 1)) return 0;
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t p = pixels.At(x, y);
                n += wanted(int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff));
            }
        }
        return n;
    }
    // Pixels whose every channel is above 200.
    int LightPixels(int x0, int y0, int x1, int y1) const {
        return Count(x0, y0, x1, y1, [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; });
    }
};

// The program started from a scratch folder that links the generated data
// folder, its standard output and error in one file there.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start()) << server_.Error();
        std::filesystem::create_directory_symlink(TARVOLAN_DATA_DIR, folder_.File("data"));
        std::ofstream(folder_.File("alsoft.conf")) << "[general]\ndrivers=null\n";
        setenv("ALSOFT_CONF", folder_.File("alsoft.conf").c_str(), 1);
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        server_.Stop();
    }

    void Start() {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder_.path().c_str());
        posix_spawn_file_actions_addopen(&actions, 1, folder_.File("output.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> args = {program_};
        ASSERT_EQ(posix_spawn(&pid_, program_.c_str(), &actions, nullptr, Argv(args).data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }

    std::string Output() const {
        const std::vector<unsigned char> bytes = ReadFileBytes(folder_.File("output.txt"));
        return std::string(bytes.begin(), bytes.end());
    }

    // The id of the program's window, once it is mapped ("" if it never is).
    std::string Window() {
        std::string id;
        WaitUntil([&] {
            const CommandResult r = RunCommand({"xdotool", "search", "--onlyvisible", "--name", "^Tarvolan$"});
            id = r.status == 0 ? r.out.substr(0, r.out.find('\n')) : "";
            return !id.empty();
        }, kBound, kPoll);
        return id;
    }

    // Focuses the window: the game runs its updates only while it has focus.
    std::string FocusedWindow() {
        const std::string id = Window();
        if (!id.empty()) RunCommand({"xdotool", "windowfocus", "--sync", id});
        return id;
    }

    // The exit status once the program ends, or -1 if it does not end
    // normally within the bound.
    int ExitStatus() {
        int status = 0;
        if (!WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, kBound, kPoll)) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // F4 ends the program on its press, so only the press is sent to the
    // window: a release sent there after it would find the window gone, and
    // xdotool would fail although the program did what it should. The exit
    // status is the judge. The server then gets the release, so that a
    // program started next does not find F4 held.
    int EndWithF4(const std::string& id) {
        RunCommand({"xdotool", "keydown", "--window", id, "F4"});
        const int status = ExitStatus();
        RunCommand({"xdotool", "keyup", "F4"});
        return status;
    }

    // The first picture that `shows` accepts, or the last picture taken.
    template <class Condition>
    Screenshot WaitForPicture(const std::string& id, Condition shows) {
        Screenshot shot;
        WaitUntil([&] { return shows(shot = Screenshot::Of(id)); }, kBound, kPoll);
        return shot;
    }

    XvfbServer server_;
    ScratchDir folder_;
    std::string program_ = TARVOLAN_PROGRAM;
    pid_t pid_ = -1;
};

