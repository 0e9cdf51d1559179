// Choosing where the data and the state live: the build folder's layout
// wherever ./data/ is, else the installed one beside the program, with the
// state in the player's own data folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "host/file_layout.h"
#include "tests/support/scratch_files.h"

namespace {

TEST(FileLayoutTest, TheInstalledLayoutFollowsTheProgramsFolderAndTheUsersDataHome) {
    struct Case {
        const char* executable;
        const char* xdg_data_home;
        const char* home;
        const char* data;
        const char* state;
    };
    const Case cases[] = {
        {"/usr/bin/tarvolan", "/x/data", "/home/p", "/usr/share/tarvolan/data/", "/x/data/tarvolan/.zarnikstate"},
        {"/opt/t/bin/tarvolan", nullptr, "/home/p", "/opt/t/share/tarvolan/data/",
         "/home/p/.local/share/tarvolan/.zarnikstate"},
        {"/usr/bin/tarvolan", "", "/home/p", "/usr/share/tarvolan/data/", "/home/p/.local/share/tarvolan/.zarnikstate"},
        // A relative data home is not a place: the default stands.
        {"/usr/bin/tarvolan", "rel/data", "/home/p", "/usr/share/tarvolan/data/",
         "/home/p/.local/share/tarvolan/.zarnikstate"},
    };
    for (const Case& c : cases) {
        const FileLayout layout = InstalledLayout(c.executable, c.xdg_data_home, c.home);
        EXPECT_EQ(layout.dataFolder, c.data) << c.executable;
        EXPECT_EQ(layout.stateFile, c.state) << (c.xdg_data_home ? c.xdg_data_home : "unset");
    }
}

// The scratch folder is both the working folder and an install prefix.
class ChooseFileLayoutTest : public ::testing::Test {
protected:
    bool Choose() { return ChooseFileLayout(executable_, "/xdg", "/home/p", &chosen_, &looked_in_); }
    void Install() { std::filesystem::create_directories(folder_.File("share/tarvolan/data")); }

    ScratchWorkingDir folder_;
    const std::string executable_ = folder_.File("bin/tarvolan");
    FileLayout chosen_;
    std::string looked_in_;
};

TEST_F(ChooseFileLayoutTest, ADataFolderInTheWorkingFolderWinsEvenOverAnInstall) {
    mkdir("data", 0755);
    Install();
    ASSERT_TRUE(Choose());
    EXPECT_EQ(chosen_.dataFolder, "./data/");
    EXPECT_EQ(chosen_.stateFile, "./.zarnikstate");
}

TEST_F(ChooseFileLayoutTest, WithoutOneTheInstalledDataIsUsed) {
    Install();
    ASSERT_TRUE(Choose());
    EXPECT_EQ(chosen_.dataFolder, folder_.File("share/tarvolan/data/"));
    EXPECT_EQ(chosen_.stateFile, "/xdg/tarvolan/.zarnikstate");
}

TEST_F(ChooseFileLayoutTest, AFileNamedDataIsNoDataFolderAndNeitherPlaceIsChosen) {
    WriteFileBytes("data", {'x'});
    EXPECT_FALSE(Choose());
    EXPECT_EQ(looked_in_, "./data/ and " + folder_.File("share/tarvolan/data/"));
}

}  // namespace
