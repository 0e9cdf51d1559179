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
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "tests/e2e/close_box.h"
#include "tests/integration/support/xvfb.h"
#include "tests/support/scratch_files.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Polls `done` every 20 ms until it holds or `bound` has passed.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(15)) {
    const auto give_up = Clock::now() + bound;
    while (!done()) {
        if (Clock::now() > give_up) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A window's pixels as the X server has them; empty when it cannot be read.
struct Screenshot {
    int width = 0, height = 0;
    std::string rgb;

    static Screenshot Of(const std::string& window) {
        Screenshot shot;
        const CommandResult r = RunCommand({"import", "-window", window, "-depth", "8", "ppm:-"});
        int header = 0;
        if (r.status != 0 || std::sscanf(r.out.c_str(), "P6 %d %d 255%n", &shot.width, &shot.height, &header) != 2)
            return {};
        shot.rgb = r.out.substr(header + 1);
        return shot.rgb.size() < size_t(shot.width) * shot.height * 3 ? Screenshot{} : shot;
    }
    const unsigned char* At(int x, int y) const {
        return reinterpret_cast<const unsigned char*>(rgb.data()) + (size_t(y) * width + x) * 3;
    }
    bool Near(int x, int y, int r, int g, int b) const {
        const unsigned char* p = At(x, y);
        return std::abs(p[0] - r) <= 6 && std::abs(p[1] - g) <= 6 && std::abs(p[2] - b) <= 6;
    }
    // Pixels in the rectangle whose every channel is above 200.
    int LightPixels(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += At(x, y)[0] > 200 && At(x, y)[1] > 200 && At(x, y)[2] > 200;
        return n;
    }
};

// The loading screen's background, its orange band and its yellow disc, at
// points clear of the logo and the spinner.
bool ShowsTheLoadingScreen(const Screenshot& shot) {
    return shot.width >= 640 && shot.height >= 480 && shot.Near(5, 5, 40, 40, 80) && shot.Near(20, 240, 187, 124, 66) &&
           shot.Near(320, 99, 212, 212, 16);
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
        WaitFor([&] {
            const CommandResult r = RunCommand({"xdotool", "search", "--onlyvisible", "--name", "^Tarvolan$"});
            id = r.status == 0 ? r.out.substr(0, r.out.find('\n')) : "";
            return !id.empty();
        });
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
        if (!WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; })) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    XvfbServer server_;
    ScratchDir folder_;
    pid_t pid_ = -1;
};

TEST_F(ProgramTest, TheWindowIs640By480AndTitledTarvolan) {
    Start();
    const std::string id = Window();
    ASSERT_FALSE(id.empty()) << Output();
    const CommandResult info = RunCommand({"xwininfo", "-id", id});
    EXPECT_NE(info.out.find("Width: 640\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Height: 480\n"), std::string::npos) << info.out;
    const CommandResult name = RunCommand({"xdotool", "getwindowname", id});
    EXPECT_EQ(name.out, "Tarvolan\n");
}

TEST_F(ProgramTest, ItShowsTheLoadingScreenF1BringsUpTheDebugLineAndF4EndsWithStatusZero) {
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    Screenshot shot;
    ASSERT_TRUE(WaitFor([&] { return ShowsTheLoadingScreen(shot = Screenshot::Of(id)); }))
        << "corner, band and disc: " << (shot.width == 0 ? "no picture" : "other colours");
    // The line sits at the bottom left, where the loading screen is plain.
    EXPECT_EQ(shot.LightPixels(16, 440, 320, 472), 0);
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F1"}).status, 0);
    EXPECT_TRUE(WaitFor([&] { return Screenshot::Of(id).LightPixels(16, 440, 320, 472) > 20; }));
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F4"}).status, 0);
    EXPECT_EQ(ExitStatus(), 0) << Output();
}

TEST_F(ProgramTest, TheCloseBoxEndsWithStatusZero) {
    Start();
    const std::string id = Window();
    ASSERT_FALSE(id.empty()) << Output();
    ASSERT_TRUE(ClickCloseBox(id));
    EXPECT_EQ(ExitStatus(), 0) << Output();
}

TEST_F(ProgramTest, WithoutASoundDeviceItSaysSoAndRunsOn) {
    UseAudioConfig("[general]\ndrivers=no-such-backend\n");
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    EXPECT_TRUE(WaitFor([&] { return ShowsTheLoadingScreen(Screenshot::Of(id)); }));
    EXPECT_EQ(waitpid(pid_, nullptr, WNOHANG), 0) << "still running";
    EXPECT_NE(Output().find("OpenAl error: alcOpenDevice failed\n"), std::string::npos) << Output();
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F4"}).status, 0);
    EXPECT_EQ(ExitStatus(), 0) << Output();
}

}  // namespace
