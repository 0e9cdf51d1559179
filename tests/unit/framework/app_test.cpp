// The application module: the device size, the keys that end the program and
// the one-application rule.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app.h"
#include "framework/input.h"
#include "host/glfw_facade.h"
#include "host/kzglfwgame.h"
#include "host/scripted_backend.h"
#include "tests/support/child_process.h"

namespace {

class AppModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        glfw2::UseBackend(&backend_);
        backend_.OpenWindow(640, 480, 8, 8, 8, 0, 0, 0, glfw2::WINDOW);
        kz_app_InitGlobals(&host_);
    }
    void TearDown() override { glfw2::UseBackend(nullptr); }

    glfw2::ScriptedBackend backend_;
    KzGlfwGame host_;
};

TEST_F(AppModuleTest, TheDeviceSizeChangesOnlyWhenValidated) {
    kz_app_ValidateDeviceWindow(false);
    backend_.QueueResize(800, 600);
    glfw2::glfwPollEvents();
    EXPECT_EQ(kz_app_DeviceWidth(), 640);
    kz_app_ValidateDeviceWindow(false);
    EXPECT_EQ(std::vector<int>({kz_app_DeviceWidth(), kz_app_DeviceHeight()}), std::vector<int>({800, 600}));
}

TEST_F(AppModuleTest, OnlyTheKeyDownOfTheBackOrCloseKeyEndsTheProgram) {
    const struct {
        const char* name;
        int event, key;
        bool held;
        int status;
        const char* out;  // the key's state afterwards: the input device hears it first
    } cases[] = {
        {"close key down", kEventKeyDown, kKeyClose, false, 0, ""},
        {"close key down while held", kEventKeyDown, kKeyClose, true, 0, ""},
        {"back key down", kEventKeyDown, kKeyBack, false, 0, ""},
        {"close key up", kEventKeyUp, kKeyClose, true, 3, "up\n"},
        {"back key up", kEventKeyUp, kKeyBack, true, 3, "up\n"},
        {"close key's character", kEventKeyChar, kKeyClose, false, 3, "up\n"},
        {"another key down", kEventKeyDown, 27, false, 3, "down\n"},
    };
    for (const auto& c : cases) {
        const ChildResult r = RunInChild([&] {
            auto* delegate = (new c_GameDelegate())->m_new();
            gc_assign(delegate->m_input, (new c_InputDevice())->m_new());
            delegate->m_input->m_keyDown[c.key] = c.held;
            delegate->KeyEvent(c.event, c.key);
            std::puts(delegate->m_input->m_keyDown[c.key] ? "down" : "up");
            std::exit(3);
        });
        EXPECT_TRUE(r.exited) << c.name;
        EXPECT_EQ(r.exit_status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
    }
}

TEST_F(AppModuleTest, TheFirstApplicationBecomesTheHostsDelegateAndASecondIsAFatalError) {
    const ChildResult r = RunInChild([&] {
        c_App* app = (new c_App())->m_new();
        if (kz_app__app == app && kz_app__delegate && host_.Delegate() == kz_app__delegate) std::puts("first wired");
        (new c_App())->m_new();
        std::puts("second made");
    });
    EXPECT_EQ(r.out.find("first wired\nZarnik Runtime Error : App has already been created"), 0u) << r.out;
    EXPECT_EQ(r.out.find("second made"), std::string::npos);
    EXPECT_EQ(r.exit_status, 255);
}

}  // namespace
