// The generator's output depends on nothing but its code: a fresh run gives
// the same files, byte for byte, as the run that built the data folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "asset_files.h"
#include "tests/support/child_process.h"

namespace assettest {
namespace {

namespace fs = std::filesystem;

ChildResult run_generator(const std::string& data, const std::string& contact, const std::string& icons) {
    return RunInChild([&] {
        execl(TARVOLAN_ASSETGEN, TARVOLAN_ASSETGEN, data.c_str(), contact.c_str(), icons.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    });
}

std::map<std::string, std::vector<char>> folder_contents(const fs::path& root) {
    std::map<std::string, std::vector<char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = read_bytes(entry.path());
    return files;
}

TEST(AssetGenerator, ASecondRunWritesIdenticalBytes) {
    const fs::path scratch = fs::temp_directory_path() / ("tarvolan_assets_" + std::to_string(getpid()));
    fs::remove_all(scratch);
    const ChildResult run = run_generator(scratch / "data", scratch / "contact", scratch / "icons");
    ASSERT_TRUE(run.exited);
    ASSERT_EQ(run.exit_status, 0) << run.err;
    for (const auto& [written, built_folder] : {std::pair{scratch / "data", fs::path(TARVOLAN_DATA_DIR)},
                                                 std::pair{scratch / "icons", fs::path(TARVOLAN_ICON_DIR)}}) {
        const auto fresh = folder_contents(written), built = folder_contents(built_folder);
        EXPECT_EQ(fresh.size(), built.size());
        for (const auto& [name, bytes] : built) {
            const auto match = fresh.find(name);
            ASSERT_NE(match, fresh.end()) << name << " was not written again";
            EXPECT_TRUE(match->second == bytes) << name << " differs between runs";
        }
    }
    fs::remove_all(scratch);
}

// A folder the generator cannot write into is reported, not half-written in
// silence.
TEST(AssetGenerator, ReportsAnUnwritableDataFolder) {
    const ChildResult run =
        run_generator("/proc/no-such-dir/data", "/proc/no-such-dir/contact", "/proc/no-such-dir/icons");
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_NE(run.err.find("tarvolan_assetgen:"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace assettest
