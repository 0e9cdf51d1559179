// The real program where it cannot have a window: on an X server that offers
// no OpenGL, and with no display at all. It says why, with the window
// system's reason, on standard error too (standard output may go nowhere
// when started from a menu), and ends with status -1 instead of ending
// quietly as if it had run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/integration/support/xvfb.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

namespace {

// The program run from a scratch folder that links the data folder.
ChildResult RunProgram() {
    ScratchDir folder;
    std::filesystem::create_directory_symlink(TARVOLAN_DATA_DIR, folder.File("data"));
    return RunInChild([&] {
        if (chdir(folder.path().c_str()) == 0) execl(TARVOLAN_PROGRAM, TARVOLAN_PROGRAM, nullptr);
        _exit(127);
    });
}

TEST(WindowFailureTest, WithoutOpenGlItSaysWhyAndEndsWithStatusMinusOne) {
    XvfbServer server;
    ASSERT_TRUE(server.Start({"-extension", "GLX"})) << server.Error();
    const ChildResult r = RunProgram();
    const std::string said = "could not open a 640 x 480 OpenGL window: ";
    ASSERT_EQ(r.out.rfind(said, 0), 0u) << r.out;
    EXPECT_NE(r.out.find("GLX", said.size()), std::string::npos) << "the reason names what is missing: " << r.out;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line";
    EXPECT_EQ(r.err, r.out);
    EXPECT_EQ(r.exit_status, 255);
}

TEST(WindowFailureTest, WithoutADisplayTheWindowSystemsStartSaysWhy) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    const ChildResult r = RunProgram();
    EXPECT_EQ(r.out, "glfwInit failed\n");
    EXPECT_EQ(r.err.rfind("glfwInit failed: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("DISPLAY"), std::string::npos) << "the reason names what is missing: " << r.err;
    EXPECT_EQ(r.exit_status, 255);
}

}  // namespace
