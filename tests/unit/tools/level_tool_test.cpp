// The level tool's command line: its answers to good and bad arguments.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

namespace {

CommandResult RunTool(const std::string& arguments) {
    std::vector<std::string> argv = {LEVEL_TOOL};
    std::istringstream words(arguments);
    for (std::string word; words >> word;) argv.push_back(word);
    return RunCommand(argv);
}

TEST(LevelToolTest, GoodArgumentsPrintTheLevelAndBadOnesExitWithTwoAndPrintNothing) {
    struct Case { std::string arguments; int status; std::string start; };
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
        const CommandResult run = RunTool(c.arguments);
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
