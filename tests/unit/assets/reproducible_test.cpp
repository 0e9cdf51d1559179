// The generator's output depends on nothing but its code: a fresh run gives
// the same files, byte for byte, as the run that built the data folder.
#include "asset_files.h"

#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>

namespace assettest {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::vector<char>> folder_contents(const fs::path& root) {
    std::map<std::string, std::vector<char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = read_bytes(entry.path().string());
    return files;
}

TEST(AssetGenerator, ASecondRunWritesIdenticalBytes) {
    const fs::path scratch = fs::temp_directory_path() / ("tarvolan_assets_" + std::to_string(getpid()));
    fs::remove_all(scratch);
    const std::string data = (scratch / "data").string(), contact = (scratch / "contact").string();
    const ChildResult run = RunInChild([&] {
        execl(TARVOLAN_ASSETGEN, TARVOLAN_ASSETGEN, data.c_str(), contact.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    });
    ASSERT_TRUE(run.exited);
    ASSERT_EQ(run.exit_status, 0) << run.err;

    const auto fresh = folder_contents(data);
    const auto built = folder_contents(TARVOLAN_DATA_DIR);
    EXPECT_EQ(fresh.size(), built.size());
    for (const auto& [name, bytes] : built) {
        const auto match = fresh.find(name);
        ASSERT_NE(match, fresh.end()) << name << " was not written again";
        EXPECT_TRUE(match->second == bytes) << name << " differs between runs";
    }
    fs::remove_all(scratch);
}

// A folder the generator cannot write into is reported, not half-written
// in silence: the run fails with a message.
TEST(AssetGenerator, ReportsAnUnwritableDataFolder) {
    const ChildResult run = RunInChild([] {
        execl(TARVOLAN_ASSETGEN, TARVOLAN_ASSETGEN, "/proc/no-such-dir/data", "/proc/no-such-dir/contact",
              static_cast<char*>(nullptr));
        _exit(127);
    });
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_NE(run.err.find("tarvolan_assetgen:"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace assettest
