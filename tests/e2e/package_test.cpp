// The Debian package, built by CPack from the install rules into a scratch
// folder: its file list is the install's layout exactly, its control fields
// come from the build, it has no maintainer scripts, and lintian finds no
// error in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/scratch_files.h"

namespace {

namespace fs = std::filesystem;

// The files the package installs, beside the data folder's.
const char* const kLayout[] = {
    "usr/bin/tarvolan",
    "usr/share/applications/" TARVOLAN_APP_ID ".desktop",
    "usr/share/doc/tarvolan/changelog.gz",
    "usr/share/doc/tarvolan/copyright",
    "usr/share/icons/hicolor/128x128/apps/" TARVOLAN_APP_ID ".png",
    "usr/share/icons/hicolor/256x256/apps/" TARVOLAN_APP_ID ".png",
    "usr/share/icons/hicolor/32x32/apps/" TARVOLAN_APP_ID ".png",
    "usr/share/icons/hicolor/48x48/apps/" TARVOLAN_APP_ID ".png",
    "usr/share/icons/hicolor/64x64/apps/" TARVOLAN_APP_ID ".png",
    "usr/share/metainfo/" TARVOLAN_APP_ID ".metainfo.xml",
};

std::set<std::string> ExpectedFiles() {
    std::set<std::string> files(std::begin(kLayout), std::end(kLayout));
    for (const auto& entry : fs::recursive_directory_iterator(TARVOLAN_DATA_DIR)) {
        if (!entry.is_directory()) {
            files.insert("usr/share/tarvolan/data/" + fs::relative(entry.path(), TARVOLAN_DATA_DIR).string());
        }
    }
    return files;
}

// The files (not folders) that `dpkg-deb -c` lists, without the leading "./".
std::set<std::string> PackagedFiles(const std::string& listing, std::string* program_entry) {
    std::set<std::string> files;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        const size_t path = line.find(" ./");
        if (path == std::string::npos || line.back() == '/') continue;
        files.insert(line.substr(path + 3));
        if (line.compare(path + 3, std::string::npos, "usr/bin/tarvolan") == 0) *program_entry = line;
    }
    return files;
}

TEST(PackageTest, ItHoldsExactlyTheLayoutWithTheBuildsVersionAndLintianFindsNoError) {
    ScratchDir folder;
    const CommandResult built = RunCommand(
        {"cpack", "-G", "DEB", "--config", TARVOLAN_BUILD_DIR "/CPackConfig.cmake", "-B", folder.path()});
    ASSERT_EQ(built.status, 0) << built.out;
    const std::string deb = folder.File("tarvolan_" TARVOLAN_VERSION "_amd64.deb");
    ASSERT_TRUE(fs::exists(deb)) << built.out;

    std::string program_entry;
    EXPECT_EQ(PackagedFiles(RunCommand({"dpkg-deb", "-c", deb}).out, &program_entry), ExpectedFiles());
    EXPECT_EQ(program_entry.rfind("-rwxr-xr-x root/root", 0), 0u) << program_entry;

    EXPECT_EQ(RunCommand({"dpkg-deb", "-f", deb, "Package", "Version"}).out,
              "Package: tarvolan\nVersion: " TARVOLAN_VERSION "\n");
    const std::string depends = RunCommand({"dpkg-deb", "-f", deb, "Depends"}).out;
    for (const char* library : {"libglfw3", "libopenal1", "libc6"}) {
        EXPECT_NE(depends.find(library), std::string::npos) << "worked out from the program: " << depends;
    }
    ASSERT_EQ(RunCommand({"dpkg-deb", "-e", deb, folder.File("control")}).status, 0);
    std::vector<std::string> control;
    for (const auto& entry : fs::directory_iterator(folder.File("control"))) control.push_back(entry.path().filename());
    std::sort(control.begin(), control.end());
    EXPECT_EQ(control, std::vector<std::string>({"control", "md5sums"})) << "no maintainer scripts";

    const CommandResult lint = RunCommand({"lintian", "--fail-on", "error", deb});
    EXPECT_EQ(lint.status, 0) << lint.out;
}

}  // namespace
