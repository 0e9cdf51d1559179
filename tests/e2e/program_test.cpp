// The real program in a private X server with the generated data folder: its
// window, the loading screen as the server shows it, the debug line, the ways
// it ends, and running on without a sound device.
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

#include "tests/e2e/x_window.h"
#include "tests/integration/support/xvfb.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"
#include "tests/support/wait_until.h"

extern char** environ;

namespace {

constexpr std::chrono::seconds kBound(15);
constexpr std::chrono::milliseconds kPoll(20);

// A picture of the window, judged at a few points with a small tolerance.
struct Screenshot {
    WindowPixels pixels;

    static Screenshot Of(const std::string& window) { return {ReadWindowPixels(window)}; }
    bool Near(int x, int y, std::uint32_t rgb) const {
        const std::uint32_t p = pixels.At(x, y);
        for (int shift : {16, 8, 0}) {
            if (std::abs(int(p >> shift & 0xff) - int(rgb >> shift & 0xff)) > 6) return false;
        }
        return true;
    }
    // Pixels in the rectangle whose every channel is above 200; none when
    // the picture does not reach that far.
    int LightPixels(int x0, int y0, int x1, int y1) const {
        if (pixels.width < x1 || pixels.height < y1) return 0;
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const std::uint32_t p = pixels.At(x, y);
                n += (p >> 16 & 0xff) > 200 && (p >> 8 & 0xff) > 200 && (p & 0xff) > 200;
            }
        }
        return n;
    }
};

// The window at its size, with the loading screen's background, its orange
// band and its yellow disc, at points clear of the logo and the spinner.
bool ShowsTheLoadingScreen(const Screenshot& shot) {
    return shot.pixels.width == 640 && shot.pixels.height == 480 && shot.Near(5, 5, 0x282850) &&
           shot.Near(20, 240, 0xbb7c42) && shot.Near(320, 99, 0xd4d410);
}

// The program started from a scratch folder that links the generated data
// folder, its standard output and error in one file there.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start()) << server_.Error();
        std::filesystem::create_directory_symlink(TARVOLAN_DATA_DIR, folder_.File("data"));
        UseAudioConfig("[general]\ndrivers=null\n");
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        server_.Stop();
    }

    void UseAudioConfig(const std::string& text) {
        std::ofstream(folder_.File("alsoft.conf")) << text;
        setenv("ALSOFT_CONF", folder_.File("alsoft.conf").c_str(), 1);
    }

    void Start() {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder_.path().c_str());
        posix_spawn_file_actions_addopen(&actions, 1, folder_.File("output.txt").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        char program[] = TARVOLAN_PROGRAM;
        char* argv[] = {program, nullptr};
        ASSERT_EQ(posix_spawn(&pid_, program, &actions, nullptr, argv, environ), 0);
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

    // F4 ends the program on its press, so only the press is sent: a release
    // sent after it would find the window gone, and xdotool would fail
    // although the program did what it should. The exit status is the judge.
    int EndWithF4(const std::string& id) {
        RunCommand({"xdotool", "keydown", "--window", id, "F4"});
        return ExitStatus();
    }

    // The loading screen once it shows, or the last picture taken.
    Screenshot LoadingScreen(const std::string& id) {
        Screenshot shot;
        WaitUntil([&] { return ShowsTheLoadingScreen(shot = Screenshot::Of(id)); }, kBound, kPoll);
        return shot;
    }

    XvfbServer server_;
    ScratchDir folder_;
    pid_t pid_ = -1;
};

// The window is found by its exact title; the picture shows its size.
TEST_F(ProgramTest, ItShowsTheLoadingScreenF1BringsUpTheDebugLineAndF4EndsWithStatusZero) {
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    const Screenshot shot = LoadingScreen(id);
    ASSERT_TRUE(ShowsTheLoadingScreen(shot))
        << "size, corner, band and disc: " << (shot.pixels.width == 0 ? "no picture" : "other colours");
    // The line sits at the bottom left, where the loading screen is plain.
    EXPECT_EQ(shot.LightPixels(16, 440, 320, 472), 0);
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F1"}).status, 0);
    EXPECT_TRUE(WaitUntil([&] { return Screenshot::Of(id).LightPixels(16, 440, 320, 472) > 20; }, kBound, kPoll));
    EXPECT_EQ(EndWithF4(id), 0) << Output();
}

TEST_F(ProgramTest, TheCloseBoxEndsWithStatusZero) {
    Start();
    const std::string id = Window();
    ASSERT_FALSE(id.empty()) << Output();
    ClickCloseBox(id);
    EXPECT_EQ(ExitStatus(), 0) << Output();
}

TEST_F(ProgramTest, WithoutASoundDeviceItSaysSoAndRunsOn) {
    UseAudioConfig("[general]\ndrivers=no-such-backend\n");
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    EXPECT_TRUE(ShowsTheLoadingScreen(LoadingScreen(id)));
    EXPECT_EQ(waitpid(pid_, nullptr, WNOHANG), 0) << "still running";
    EXPECT_NE(Output().find("OpenAl error: alcOpenDevice failed\n"), std::string::npos) << Output();
    EXPECT_EQ(EndWithF4(id), 0) << Output();
}

}  // namespace
