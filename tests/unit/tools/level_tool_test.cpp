// The level tool's command line: its answers to good and bad arguments.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/support/scratch_files.h"

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
};

ToolRun RunTool(const std::string& arguments) {
    ToolRun run;
    FILE* pipe = popen((std::string(LEVEL_TOOL) + " " + arguments + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int wait = pclose(pipe);
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    return run;
}

TEST(LevelToolTest, GoodArgumentsPrintTheLevelAndBadOnesExitWithTwoAndPrintNothing) {
    struct Case {
        std::string arguments;
        int status;
        std::string start;
    };
    const Case cases[] = {
        {"--difficulty 2 --level 5", 0, "{\n  \"difficulty\": 2,\n  \"level\": 5,"},
        {"--summary 1 1-2", 0, "difficulty 1 level 1: segments 3 asked, 3 carved; path 31 cells; turrets 1 asked"},
        {"--difficulty 1", 2, ""},
        {"--difficulty 4 --level 1", 2, ""},
        {"--difficulty 1 --level 2x", 2, ""},
        {"--summary 3-1 1", 2, ""},
        {"--difficulty 1 --level 1 --frobnicate", 2, ""},
        {"--difficulty 1 --level 1 --png /nonexistent/folder/map.png", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = RunTool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(c.start.empty() ? run.out : run.out.substr(0, c.start.size()), c.start);
    }
}

// A PNG of cells 0 to 200 at four pixels a cell.
TEST(LevelToolTest, APictureIsAPngOfTheWholeMap) {
    ScratchDir scratch;
    ASSERT_EQ(RunTool("--difficulty 3 --level 4 --png " + scratch.File("map.png")).status, 0);
    const std::vector<unsigned char> png = ReadFileBytes(scratch.File("map.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    const auto word = [&](int at) { return png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    EXPECT_EQ(word(16), 804);  // width, then height, in the header chunk
    EXPECT_EQ(word(20), 804);
}

}  // namespace
