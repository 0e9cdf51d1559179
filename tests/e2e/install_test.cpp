// The game as a player installs it: `cmake --install` into a scratch folder
// (as `make install DESTDIR=...` does), the installed program started from an
// unrelated working folder with the player's home in the scratch folder too.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/road_steps.h"

namespace {

namespace fs = std::filesystem;

// Installs the build under `root`/usr; "" on success, else what the
// installer said.
std::string InstallUnder(const std::string& root) {
    setenv("DESTDIR", root.c_str(), 1);
    const CommandResult r = RunCommand({"cmake", "--install", TARVOLAN_BUILD_DIR, "--prefix", "/usr"});
    unsetenv("DESTDIR");
    return r.status == 0 ? "" : r.out + " (status " + std::to_string(r.status) + ")";
}

// Every file below `folder`, as paths relative to it, sorted.
std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The installed program, run from the fixture's scratch folder (which holds
// no data/), with HOME and XDG_DATA_HOME below that folder.
class InstalledTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        fs::remove(folder_.File("data"));
        ASSERT_EQ(InstallUnder(root_.path()), "");
        program_ = root_.File("usr/bin/tarvolan");
        setenv("HOME", folder_.File("home").c_str(), 1);
        setenv("XDG_DATA_HOME", folder_.File("home/xdg").c_str(), 1);
    }
    std::string StateFolder() const { return folder_.File("home/xdg/tarvolan"); }

    ScratchDir root_;
};

// The title's art: the menu artwork and the logo put many colours into the
// sky above the carousel, which is plain without them.
bool TitleArtShows(const Screenshot& shot) {
    return OnTitle(shot) && shot.Count(0, 0, 640, 200, [](int r, int g, int b) {
        return std::abs(r - 0x00) + std::abs(g - 0x00) + std::abs(b - 0x50) > 60;
    }) > 10000;
}

TEST_F(InstalledTest, FromAnotherFolderItDrawsItsArtSavesInTheUsersDataFolderAndShowsTheScoreNextTime) {
    Start();
    std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    ASSERT_TRUE(TitleArtShows(WaitForPicture(id, TitleArtShows))) << Output();
    ASSERT_TRUE(StartAGame(id));
    ASSERT_TRUE(QuitThroughThePause(id));
    const std::vector<int> saved = SavedValues(StateFolder() + "/.zarnikstate");
    ASSERT_EQ(saved.size(), 203u);
    EXPECT_GT(saved[kSavedBestOfFirstType], 0);
    EXPECT_EQ(EndWithF4(id), 0) << Output();
    EXPECT_EQ(fs::status(StateFolder()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(FilesBelow(folder_.path()),
              std::vector<std::string>({"alsoft.conf", "home/xdg/tarvolan/.zarnikstate", "output.txt"}))
        << "the state is saved there and nowhere else";

    Start();
    id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    EXPECT_TRUE(ShowsASavedBest(WaitForPicture(id, ShowsASavedBest))) << "score " << saved[kSavedBestOfFirstType];
    EXPECT_EQ(EndWithF4(id), 0) << Output();
}

// A data folder that cannot be the game's (it is empty) proves which layout
// was chosen: the program reads from it and says what is missing there.
TEST_F(InstalledTest, ADataFolderInTheWorkingFolderIsChosenOverTheInstall) {
    fs::create_directory(folder_.File("data"));
    Start();
    EXPECT_TRUE(WaitUntil([&] { return Output().find("cannot read ./data/") != std::string::npos; }, kBound, kPoll))
        << Output();
    EXPECT_EQ(Output().find("share/tarvolan"), std::string::npos) << Output();
}

TEST_F(InstalledTest, WithoutDataAnywhereItSaysWhereItLookedAndEndsWithStatus255) {
    fs::create_directories(folder_.File("moved/bin"));
    fs::copy_file(program_, folder_.File("moved/bin/tarvolan"));
    program_ = folder_.File("moved/bin/tarvolan");
    Start();
    EXPECT_EQ(ExitStatus(), 255);
    EXPECT_EQ(Output(), "tarvolan: no data folder found (looked in ./data/ and " +
                            folder_.File("moved/share/tarvolan/data/") + ")\n");
}

// A data home the save cannot create its folder in (a file stands in the
// way, which holds even for root): one line on standard error, and the game
// plays on.
TEST_F(InstalledTest, WhenTheStateCannotBeSavedItSaysSoOnceAndPlaysOn) {
    WriteFileBytes(folder_.File("blocked"), {'x'});
    setenv("XDG_DATA_HOME", folder_.File("blocked/xdg").c_str(), 1);
    Start();
    const std::string id = FocusedWindow();
    ASSERT_FALSE(id.empty()) << Output();
    ASSERT_TRUE(OnTitle(WaitForPicture(id, OnTitle))) << Output();
    for (int game = 0; game < 2; ++game) {
        ASSERT_TRUE(StartAGame(id)) << "game " << game;
        ASSERT_TRUE(QuitThroughThePause(id)) << "game " << game;
    }
    EXPECT_EQ(EndWithF4(id), 0) << Output();
    const std::string line = "cannot write " + folder_.File("blocked/xdg/tarvolan/.zarnikstate") + ": Not a directory\n";
    const std::string said = Output();
    ASSERT_NE(said.find(line), std::string::npos) << said;
    EXPECT_EQ(said.find(line), said.rfind(line)) << "told once";
}

TEST(InstalledFilesTest, TheDesktopEntryAndTheMetainfoValidateAndCarryTheVersion) {
    ScratchDir root;
    ASSERT_EQ(InstallUnder(root.path()), "");
    const std::string share = root.File("usr/share/");
    const std::string desktop = share + "applications/" TARVOLAN_APP_ID ".desktop";
    const std::string metainfo = share + "metainfo/" TARVOLAN_APP_ID ".metainfo.xml";
    const CommandResult entry = RunCommand({"desktop-file-validate", desktop});
    EXPECT_EQ(entry.status, 0) << entry.out;
    EXPECT_EQ(entry.out, "");
    const CommandResult info = RunCommand({"appstreamcli", "validate", "--no-net", metainfo});
    EXPECT_EQ(info.status, 0) << info.out;
    const std::vector<unsigned char> text = ReadFileBytes(metainfo);
    EXPECT_NE(std::string(text.begin(), text.end()).find("<release version=\"" TARVOLAN_VERSION "\""), std::string::npos);
    const CommandResult version = RunCommand({root.File("usr/bin/tarvolan"), "--version"});
    EXPECT_EQ(version.out, "tarvolan " TARVOLAN_VERSION "\n");
}

}  // namespace
