// The real program on an X server that offers no OpenGL: it cannot open its
// window, says so with the window system's reason, and ends with status -1
// instead of ending quietly as if it had run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/integration/support/xvfb.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

namespace {

TEST(WindowFailureTest, WithoutOpenGlItSaysWhyAndEndsWithStatusMinusOne) {
    XvfbServer server;
    ASSERT_TRUE(server.Start({"-extension", "GLX"})) << server.Error();
    ScratchDir folder;
    const ChildResult r = RunInChild([&] {
        if (chdir(folder.path().c_str()) == 0) execl(TARVOLAN_PROGRAM, TARVOLAN_PROGRAM, nullptr);
        _exit(127);
    });
    const std::string said = "could not open a 640 x 480 OpenGL window: ";
    ASSERT_EQ(r.out.rfind(said, 0), 0u) << r.out;
    EXPECT_NE(r.out.find("GLX", said.size()), std::string::npos) << "the reason names what is missing: " << r.out;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line";
    EXPECT_EQ(r.exit_status, 255);
}

}  // namespace
