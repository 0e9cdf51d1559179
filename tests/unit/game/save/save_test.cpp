// The save text: its checksums (wrapping at 32 bits), round trips, the
// section-by-section reading with its printed lines, damaged and truncated
// files, and the settings repair. Each test works in its own scratch folder,
// where the state file is "./.zarnikstate".
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "framework/app.h"
#include "game/myapp.h"
#include "tests/support/scratch_files.h"

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

class SaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        kz_app__game = &host;
        app = FreshApp();
    }
    void TearDown() override {
        kz_Tarvo_isOuya = 0;
        kz_Tarvo_overscan = 0;
        kz_Tarvo_DebugMode = 0;
        kz_app__game = nullptr;
    }

    // The defaults the game sets before loading.
    static c_MyApp* FreshApp() {
        c_MyApp* fresh = new c_MyApp();
        fresh->m_settings[5] = 1;
        return fresh;
    }

    std::string StateText() const {
        const std::vector<unsigned char> bytes = ReadFileBytes(scratch.File(".zarnikstate"));
        return std::string(bytes.begin(), bytes.end());
    }
    void WriteStateText(const std::string& text) const {
        ASSERT_TRUE(WriteFileBytes(scratch.File(".zarnikstate"), std::vector<unsigned char>(text.begin(), text.end())));
    }
    static std::vector<std::string> Elements(const std::string& text) {
        std::vector<std::string> parts(1);
        for (char c : text) c == '|' ? parts.emplace_back() : parts.back() += c;
        return parts;
    }
    static std::string Join(const std::vector<std::string>& parts) {
        std::string text;
        for (size_t i = 0; i < parts.size(); ++i) text += (i ? "|" : "") + parts[i];
        return text;
    }

    // Loads the state file into a fresh game object; the lines it printed.
    std::vector<std::string> LoadFresh() {
        app = FreshApp();
        ::testing::internal::CaptureStdout();
        app->p_Load();
        std::istringstream out(::testing::internal::GetCapturedStdout());
        std::vector<std::string> lines;
        for (std::string line; std::getline(out, line);) lines.push_back(line);
        return lines;
    }

    ScratchWorkingDir scratch;
    KzGame host;
    c_MyApp* app = nullptr;
};

const std::vector<std::string> kAllLoaded = {"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded",
                                             "Highscore 1 Loaded", "Highscore 2 Loaded"};

TEST_F(SaveTest, ChecksumsOfTheWorkedExamples) {
    app->m_badgeFlags[0] = true;
    app->m_badgeFlags[33] = true;
    app->m_scores[0] = 100;
    app->p_Save();
    const std::vector<std::string> parts = Elements(StateText());
    ASSERT_EQ(parts.size(), 204u);
    const std::pair<int, const char*> worked[] = {{25, "5"},   {26, "1"},   {27, "2"}, {28, "0"},  {34, "3"},
                                                  {35, "100"}, {55, "400"}, {76, "0"}, {203, ""}};
    for (const auto& [element, text] : worked) EXPECT_EQ(parts[element], text) << "element " << element;

    // Flag 31 alone makes the first word negative and loads back as itself.
    app = FreshApp();
    app->m_badgeFlags[31] = true;
    app->p_Save();
    EXPECT_EQ(std::vector<std::string>({Elements(StateText())[26], Elements(StateText())[34]}),
              std::vector<std::string>(2, "-2147483648"));
    EXPECT_EQ(LoadFresh(), kAllLoaded);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(app->m_badgeFlags[i], i == 31) << i;
}

// Every section filled, the tables' second values too, one of them large
// enough to wrap its table's sum: saving and loading share the weights, so
// only checksums worked out apart from the code can see a wrong one.
TEST_F(SaveTest, ChecksumsOfAFullExample) {
    for (int i = 0; i < 25; ++i) app->m_settings[i] = 1000 * i + 7;
    for (int i = 0; i < 256; ++i) app->m_badgeFlags[i] = i % 3 == 0;
    for (int i = 0; i < 110; ++i) app->m_scores[i] = 7 * i + 1;
    app->m_scores[40] = 2000000000;
    app->p_Save();
    const std::vector<std::string> parts = Elements(StateText());
    ASSERT_EQ(parts.size(), 204u);
    const std::pair<int, const char*> checksums[] = {
        {25, "4902100"}, {34, "-613566759"}, {55, "22105"},  {76, "-589899286"}, {97, "52155"},
        {118, "69280"},  {139, "-589847911"}, {160, "107730"}, {181, "129055"},   {202, "151780"}};
    for (const auto& [element, text] : checksums) EXPECT_EQ(parts[element], text) << "element " << element;
    EXPECT_EQ(parts[27], "-1840700270") << "a badge word with bit 31 set";
}

TEST_F(SaveTest, ChecksumsWrapAtThirtyTwoBitsWithValuesNearTheIntLimits) {
    std::vector<std::string> parts(25, std::to_string(kIntMax));
    parts[3] = std::to_string(kIntMin);
    parts[24] = std::to_string(kIntMin + 1);
    parts[10] = parts[11] = "64";
    parts[12] = "8";
    parts[14] = "1";
    // The sum of value x index over the settings, modulo 2^32, as a signed int.
    parts.push_back("-2147482396");
    // Badge words summing past the limit: INT_MAX + INT_MAX + 2 wraps to 0.
    for (const char* word : {"2147483647", "2147483647", "2", "0", "0", "0", "0", "0", "0"}) parts.push_back(word);
    WriteStateText(Join(parts) + "|");

    EXPECT_EQ(LoadFresh(), (std::vector<std::string>{"Settings Loaded", "Badges Loaded"}));
    EXPECT_EQ(std::vector<int>({app->m_settings[3], app->m_settings[24], app->m_settings[23]}),
              std::vector<int>({kIntMin, kIntMin + 1, kIntMax}));
    EXPECT_EQ(std::vector<bool>({app->m_badgeFlags[30], app->m_badgeFlags[31], app->m_badgeFlags[65]}),
              std::vector<bool>({true, false, true}));
}

TEST_F(SaveTest, AChangedValueResetsItsSectionWithItsMessage) {
    struct Case {
        int element;
        const char* message;  // printed instead of the section's "Loaded"
        int line;
    };
    const Case cases[] = {
        {3, "Settings Checksum Invalid", 0},  {25, "Settings Checksum Invalid", 0},
        {27, "Badge Checksum Invalid", 1},    {34, "Badge Checksum Invalid", 1},
        {35, "Highscore 0 Checksum Invalid", 2}, {58, "Highscore 1 Checksum Invalid", 3},
        {97, "Highscore 2 Checksum Invalid", 4}, {0, nullptr, 0},
    };
    for (const Case& c : cases) {
        app = FreshApp();
        for (int i = 0; i < 25; ++i) app->m_settings[i] = 70 + i;
        app->m_settings[14] = 1;
        for (int i = 0; i < 256; i += 3) app->m_badgeFlags[i] = true;
        for (int i = 0; i < 60; ++i) app->m_scores[i] = 1000 + i;
        app->p_Save();
        std::vector<std::string> parts = Elements(StateText());
        parts[c.element] = std::to_string(std::stoll(parts[c.element]) + 1);
        WriteStateText(Join(parts));

        std::vector<std::string> expected = kAllLoaded;
        if (c.message) expected[c.line] = c.message;
        EXPECT_EQ(LoadFresh(), expected) << "element " << c.element;

        const bool settingsReset = c.message && c.line == 0;
        EXPECT_EQ(app->m_settings[3], settingsReset ? 0 : 73) << c.element;
        EXPECT_EQ(app->m_settings[0], settingsReset ? 0 : (c.element == 0 ? 71 : 70)) << "element 0 has weight 0";
        EXPECT_EQ(app->m_badgeFlags[3], !(c.message && c.line == 1)) << c.element;
        for (int t = 0; t < 3; ++t) {
            const bool reset = c.message && c.line == 2 + t;
            EXPECT_EQ(app->m_scores[10 * t + 1], reset ? 0 : 1001 + 10 * t) << c.element << " table " << t;
            EXPECT_EQ(app->m_scores[30 + 10 * t + 1], reset ? 0 : 1031 + 10 * t) << c.element << " table " << t;
        }
    }
}

// Complete sections load; the table cut short and every table after it keep
// their defaults, with nothing printed for them.
TEST_F(SaveTest, ATruncatedFileLoadsItsCompleteSectionsSilently) {
    for (int i = 0; i < 60; ++i) app->m_scores[i] = 500 + i;
    app->m_badgeFlags[7] = true;
    app->p_Save();
    std::vector<std::string> parts = Elements(StateText());
    parts.resize(90);  // table 1 ends at element 76, table 2 at 97
    WriteStateText(Join(parts));

    EXPECT_EQ(LoadFresh(), (std::vector<std::string>{"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded",
                                                      "Highscore 1 Loaded"}));
    EXPECT_TRUE(app->m_badgeFlags[7]);
    EXPECT_EQ(std::vector<int>({app->m_scores[19], app->m_scores[49], app->m_scores[20], app->m_scores[50]}),
              std::vector<int>({519, 549, 0, 0}));
}

TEST_F(SaveTest, TheOverscanSettingIsKeptOnlyOnTheConsole) {
    app->m_settings[14] = 90;
    app->p_Save();
    LoadFresh();
    EXPECT_EQ(std::make_pair(app->m_settings[14], kz_Tarvo_overscan), std::make_pair(1, 0.0f));

    kz_Tarvo_isOuya = 1;
    LoadFresh();
    EXPECT_EQ(std::make_pair(app->m_settings[14], kz_Tarvo_overscan), std::make_pair(90, 90.0f));
}

// No file loads nothing, silently. A field that is not a number fails its
// section, even where its weight of 0 keeps the checksum: empty fields, junk,
// a trailing letter in the weightless first setting. The settings repair
// runs in every case, and failed settings mean the defaults, sound on.
TEST_F(SaveTest, MissingOrForeignTextLoadsByTheSameRules) {
    EXPECT_TRUE(LoadFresh().empty());
    EXPECT_EQ(std::vector<int>({app->m_settings[5], app->m_settings[10], app->m_settings[11], app->m_settings[12],
                                app->m_settings[14]}),
              std::vector<int>({1, 64, 64, 10, 1}));

    const std::vector<std::string> kAllInvalid = {"Settings Checksum Invalid", "Badge Checksum Invalid",
                                                  "Highscore 0 Checksum Invalid", "Highscore 1 Checksum Invalid",
                                                  "Highscore 2 Checksum Invalid"};
    std::string junk;
    for (int i = 0; i < 300; ++i) junk += "abc|";
    for (const std::string& text : {std::string(300, '|'), junk}) {
        WriteStateText(text);
        EXPECT_EQ(LoadFresh(), kAllInvalid) << text.substr(0, 8);
        EXPECT_EQ(app->m_settings[5], 1) << text.substr(0, 8);
    }

    app->m_settings[0] = 7;
    app->m_settings[5] = 2;
    app->p_Save();
    std::vector<std::string> parts = Elements(StateText());
    parts[0] += "x";
    WriteStateText(Join(parts));
    EXPECT_EQ(LoadFresh()[0], "Settings Checksum Invalid");
    EXPECT_EQ(app->m_settings[5], 1);

    WriteStateText("abc|-|99999999999999999999|");
    EXPECT_TRUE(LoadFresh().empty());
    EXPECT_EQ(app->m_settings[5], 1);
}

// A load that did not take the file whole keeps it, byte for byte, as
// ".zarnikstate.bad" at the next save, and only then: later saves leave it.
// A file the game wrote itself is never kept.
TEST_F(SaveTest, TheFirstSaveAfterALoadThatRejectedAnythingKeepsTheFileThatWasRead) {
    LoadFresh();  // no file: the defaults, repaired
    for (int i = 0; i < 60; ++i) app->m_scores[i] = 2000 + i;
    app->p_Save();
    const std::vector<std::string> good = Elements(StateText());
    std::vector<std::string> badDigit = good;
    badDigit[58] += "7";
    std::vector<std::string> truncated = good;
    truncated.resize(90);
    std::vector<std::string> repaired = good;
    repaired[setting::kPadX] = "0";
    repaired[setting::kCount] = std::to_string(std::stoi(good[setting::kCount]) - 64 * setting::kPadX);
    struct Case { const char* name; std::string text; bool kept; };
    const Case cases[] = {
        {"as written", Join(good), false},
        {"a digit more in table 1", Join(badDigit), true},
        {"cut short", Join(truncated), true},
        {"a setting repaired", Join(repaired), true},
        {"something after the last section", Join(good) + "5|", true},
    };
    const std::string kept = scratch.File(".zarnikstate.bad");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(kept);
        WriteStateText(c.text);
        LoadFresh();
        app->p_Save();
        app->m_scores[0] += 1;
        app->p_Save();
        ASSERT_EQ(std::filesystem::exists(kept), c.kept);
        if (c.kept) {
            const std::vector<unsigned char> bytes = ReadFileBytes(kept);
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.text);
        }
    }

    // A file that cannot be kept is told on standard error; the save goes on.
    std::filesystem::remove(kept);
    std::filesystem::create_directory(kept);
    WriteStateText(Join(badDigit));
    LoadFresh();
    ::testing::internal::CaptureStderr();
    app->p_Save();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot keep"), std::string::npos);
    EXPECT_EQ(LoadFresh(), kAllLoaded);
}

}  // namespace
