// The host's window on the real GLFW 3 backend in a real X server.
#include <gtest/gtest.h>

#include <chrono>

#include "host/glfw_facade.h"
#include "tests/integration/support/xvfb.h"
#include "tests/support/child_process.h"
#include "tests/support/wait_until.h"
#include "tests/unit/host/host_support.h"

namespace {

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
    template <class Condition>
    bool PumpUntil(Condition done) {
        return WaitUntil([&] {
            glfw2::glfwPollEvents();
            return done();
        }, std::chrono::seconds(5), std::chrono::milliseconds(10));
    }

    XvfbServer server_;
    KzGlfwGame game_;
    RecordingDelegate* delegate_ = nullptr;
};

// The window's size and title as the X server has them are checked on the
// real program (tests/e2e).
TEST_F(HostWindowTest, TypedKeysArriveAsTheProgramsCodes) {
    game_.SetDeviceWindow(640, 480, 0);
    game_.StartGame();
    std::string id;
    ASSERT_TRUE(PumpUntil([&] {
        const CommandResult r = RunCommand({"xdotool", "search", "--name", "^Tarvolan$"});
        id = r.status == 0 ? r.out.substr(0, r.out.find('\n')) : "";
        return !id.empty();
    }));
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
