// The application module: display modes, the keys that end the program, the
// one-application rule and the asynchronous event pump.
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

    using Sizes = std::vector<std::vector<int>>;
    static std::vector<int> Size(const c_DisplayMode* mode) { return {mode->m_width, mode->m_height}; }
    static Sizes DisplayModes() {
        Sizes sizes;
        for (c_DisplayMode* mode : kz_app__displayModes) sizes.push_back(Size(mode));
        return sizes;
    }

    glfw2::ScriptedBackend backend_;
    KzGlfwGame host_;
};

TEST_F(AppModuleTest, DisplayModesAreDistinctSizesInFirstSeenOrderAndTheDesktopFallsBackToTheWindow) {
    backend_.SetVideoModes({{800, 600, 8, 8, 8}, {640, 480, 5, 6, 5}, {800, 600, 5, 6, 5}, {640, 480, 8, 8, 8},
                            {1024, 768, 8, 8, 8}, {600, 800, 8, 8, 8}});
    backend_.SetDesktopMode({1920, 1200, 8, 8, 8});
    kz_app_EnumDisplayModes();
    EXPECT_EQ(DisplayModes(), (Sizes{{800, 600}, {640, 480}, {1024, 768}, {600, 800}}));
    EXPECT_EQ(Size(kz_app__desktopMode), (std::vector<int>{1920, 1200}));

    // The key puts the width above the height's 16 bits; a wider width must
    // not overflow the int.
    backend_.SetVideoModes(
        {{70000, 300, 8, 8, 8}, {70000, 300, 8, 8, 8}, {65535, 65535, 8, 8, 8}, {300, 300, 8, 8, 8}});
    kz_app_EnumDisplayModes();
    EXPECT_EQ(DisplayModes(), (Sizes{{70000, 300}, {65535, 65535}, {300, 300}}));

    KzGame bare;  // a host with no modes and no desktop: the desktop is the window
    kz_app_InitGlobals(&bare);
    kz_app__devWidth = 320;
    kz_app__devHeight = 200;
    kz_app_EnumDisplayModes();
    EXPECT_TRUE(DisplayModes().empty());
    EXPECT_EQ(Size(kz_app__desktopMode), (std::vector<int>{320, 200}));
}

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

// A source that counts its pumps, and can pump again from inside or remove
// itself from the sources while it is being pumped.
struct Source : Object, c_IAsyncEventSource {
    int pumps = 0;
    bool reenter = false, removeSelf = false;
    int innerResult = -1;

    void UpdateAsyncEvents() override {
        ++pumps;
        if (reenter) innerResult = kz_asyncevent_UpdateAsyncEvents();
        if (!removeSelf) return;
        c_Stack3* sources = kz_asyncevent__sources;
        int kept = 0;
        for (int i = 0; i < sources->p_Length2(); ++i) {
            if (sources->p_Get(i) != this) gc_assign(sources->m_data[kept++], sources->p_Get(i));
        }
        sources->p_Length(kept);
        kz_asyncevent__current = nullptr;
    }
};

TEST_F(AppModuleTest, ThePumpVisitsEverySourceOnceWithoutReentryEvenWhenOneRemovesItself) {
    auto* reentering = new Source();
    auto* leaving = new Source();
    auto* staying = new Source();
    reentering->reenter = true;
    leaving->removeSelf = true;
    for (Source* s : {reentering, leaving, staying}) kz_asyncevent__sources->p_Push(s);

    EXPECT_EQ(kz_asyncevent_UpdateAsyncEvents(), 0);
    EXPECT_EQ(std::vector<int>({reentering->pumps, leaving->pumps, staying->pumps}), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(reentering->innerResult, 0);
    EXPECT_EQ(kz_asyncevent__sources->p_Length2(), 2);
    EXPECT_EQ(kz_asyncevent__current, nullptr);
}

}  // namespace
