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

struct Rgb {
    int r, g, b;
};

// A window's pixels as the X server has them.
class Screenshot {
public:
    // Empty when the window cannot be read.
    static Screenshot Of(const std::string& window) {
        Screenshot shot;
        const CommandResult r = RunCommand({"import", "-window", window, "-depth", "8", "ppm:-"});
        if (r.status != 0) return shot;
        // Binary PPM: "P6", width, height, 255, then RGB bytes.
        size_t at = 0;
        std::string fields[4];
        for (std::string& field : fields) {
            while (at < r.out.size() && std::isspace(static_cast<unsigned char>(r.out[at]))) ++at;
            while (at < r.out.size() && !std::isspace(static_cast<unsigned char>(r.out[at]))) field += r.out[at++];
        }
        if (fields[0] != "P6" || fields[3] != "255") return shot;
        shot.width_ = std::stoi(fields[1]);
        shot.height_ = std::stoi(fields[2]);
        shot.pixels_ = r.out.substr(at + 1);
        if (shot.pixels_.size() < size_t(shot.width_) * shot.height_ * 3) shot.width_ = shot.height_ = 0;
        return shot;
    }

    bool Empty() const { return width_ == 0; }
    Rgb At(int x, int y) const {
        const auto* p = reinterpret_cast<const unsigned char*>(pixels_.data()) + (size_t(y) * width_ + x) * 3;
        return Rgb{p[0], p[1], p[2]};
    }
    bool Near(int x, int y, Rgb want, int tolerance = 6) const {
        const Rgb got = At(x, y);
        return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
               std::abs(got.b - want.b) <= tolerance;
    }
    // Pixels in the rectangle whose every channel is above 200.
    int LightPixels(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const Rgb p = At(x, y);
                n += p.r > 200 && p.g > 200 && p.b > 200;
            }
        }
        return n;
    }

private:
    int width_ = 0, height_ = 0;
    std::string pixels_;
};

// The loading screen's background, its orange band and its yellow disc, at
// points clear of the logo and the spinner.
bool ShowsTheLoadingScreen(const Screenshot& shot) {
    return !shot.Empty() && shot.Near(5, 5, {40, 40, 80}) && shot.Near(20, 240, {187, 124, 66}) &&
           shot.Near(320, 99, {212, 212, 16});
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

    // Waits for the program to end; its exit status, or -1 if it did not
    // end normally within the bound.
    int ExitStatus(std::chrono::milliseconds bound = std::chrono::seconds(15)) {
        int status = 0;
        const bool ended = WaitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, bound);
        if (!ended) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    bool Running() { return waitpid(pid_, nullptr, WNOHANG) == 0; }

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

TEST_F(ProgramTest, AScreenshotWhileLoadingShowsTheLoadingScreen) {
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    Screenshot shot;
    EXPECT_TRUE(WaitFor([&] {
        shot = Screenshot::Of(id);
        return ShowsTheLoadingScreen(shot);
    })) << "corner, band and disc: " << (shot.Empty() ? "no picture" : "other colours");
}

TEST_F(ProgramTest, F1BringsUpTheDebugLine) {
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    ASSERT_TRUE(WaitFor([&] { return ShowsTheLoadingScreen(Screenshot::Of(id)); }));
    // The line sits at the bottom left, where the loading screen is plain.
    const auto lightAtBottomLeft = [&] { return Screenshot::Of(id).LightPixels(16, 440, 320, 472); };
    EXPECT_EQ(lightAtBottomLeft(), 0);
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F1"}).status, 0);
    EXPECT_TRUE(WaitFor([&] { return lightAtBottomLeft() > 20; }));
}

TEST_F(ProgramTest, F4EndsWithStatusZero) {
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
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
    EXPECT_TRUE(Running());
    EXPECT_NE(Output().find("OpenAl error: alcOpenDevice failed\n"), std::string::npos) << Output();
    ASSERT_EQ(RunCommand({"xdotool", "key", "--window", id, "F4"}).status, 0);
    EXPECT_EQ(ExitStatus(), 0) << Output();
}

}  // namespace
