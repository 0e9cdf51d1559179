// The host's window on the real GLFW 3 backend in a real X server.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "host/glfw_facade.h"
#include "tests/integration/support/xvfb.h"
#include "tests/unit/host/host_support.h"

namespace {

using Clock = std::chrono::steady_clock;

class HostWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start()) << server_.Error();
        glfw2::UseBackend(nullptr);
        ASSERT_EQ(glfw2::glfwInit(), 1);
        delegate_ = new RecordingDelegate();
        game_.SetDelegate(delegate_);
    }
    void TearDown() override {
        game_.SetDelegate(nullptr);
        glfw2::glfwTerminate();
        server_.Stop();
    }

    // Processes window events until `done` holds, for at most five seconds.
    bool PumpUntil(const std::function<bool()>& done) {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (Clock::now() < deadline) {
            glfw2::glfwPollEvents();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    XvfbServer server_;
    KzGlfwGame game_;
    RecordingDelegate* delegate_ = nullptr;
};

TEST_F(HostWindowTest, TheWindowIs640By480TitledTarvolanAndTypedKeysArriveAsTheProgramsCodes) {
    game_.SetDeviceWindow(640, 480, 0);
    game_.StartGame();
    std::string id;  // of the window titled exactly "Tarvolan"
    ASSERT_TRUE(PumpUntil([&] {
        const CommandResult r = RunCommand({"xdotool", "search", "--name", "^Tarvolan$"});
        id = r.status == 0 ? r.out.substr(0, r.out.find('\n')) : "";
        return !id.empty();
    }));
    const CommandResult info = RunCommand({"xwininfo", "-id", id});
    ASSERT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("Width: 640\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Height: 480\n"), std::string::npos) << info.out;
    EXPECT_EQ(game_.GetDeviceWidth(), 640);
    EXPECT_EQ(game_.GetDeviceHeight(), 480);

    ASSERT_EQ(RunCommand({"xdotool", "windowfocus", id}).status, 0);
    ASSERT_TRUE(PumpUntil([] { return glfw2::glfwGetWindowParam(glfw2::ACTIVE) != 0; }));
    ASSERT_EQ(RunCommand({"xdotool", "key", "--delay", "0", "Left", "a"}).status, 0);
    const std::vector<Seen> expected = {
        Key(1, 37), Key(3, 65573), Key(2, 37),  // the cursor key and its editing character
        Key(1, 65), Key(3, 'a'), Key(2, 65),     // the letter's key, then its character
    };
    PumpUntil([&] { return delegate_->Only("key").size() >= expected.size(); });
    EXPECT_EQ(delegate_->Only("key"), expected);
}

}  // namespace
