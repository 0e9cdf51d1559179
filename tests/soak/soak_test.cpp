// An hour of game time on the scripted clock: the bot plays game after game
// on all three difficulties, pausing some, quitting some and losing the rest.
// Nothing is printed as an error, the collector's live heap stays as it was
// after the first game, every save reads back with valid checksums, and the
// last-scores lists hold the scores of the games it finished.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/gc.h"
#include "tests/support/play_bot.h"

namespace {

constexpr int kUpdatesPerHour = 60 * 60 * 60;
constexpr int kDifficulties = 3;
constexpr int kRanks = score_table::kRanks;
// Every other game is paused or quit after kPauseAfter updates; a game that
// has not ended after kLongestGame more is quit as well.
constexpr int kPauseAfter = 1500;
constexpr int kLongestGame = 12000;
constexpr int kPauseUpdates = 300;
// Enough for the game-over overlay and the way back to the title.
constexpr int kHandoverBound = 400;
// After the first game the live heap at the title may differ by this much:
// nothing that a game leaves behind is allowed to pile up.
constexpr int kHeapSlackBytes = 0;
constexpr int kObjectSlack = 0;

// The save's sections, checked as the file format defines them: 25 settings
// and their weighted sum, 8 badge words and their sum, then 8 tables of 10
// pairs each closed by its weighted sum; 203 values, each followed by "|".
struct SaveCheck { bool valid = false; std::vector<int> values; };

SaveCheck CheckSave(const std::string& text) {
    SaveCheck check;
    std::istringstream in(text);
    for (std::string value; std::getline(in, value, '|');) check.values.push_back(std::stoi(value));
    const std::vector<int>& v = check.values;
    if (v.size() != 203 || text.back() != '|') return check;
    uint32_t settings = 0, badges = 0;
    for (int i = 0; i < 25; ++i) settings += static_cast<uint32_t>(v[i]) * static_cast<uint32_t>(i);
    for (int j = 26; j < 34; ++j) badges += static_cast<uint32_t>(v[j]);
    bool tables = true;
    for (int t = 0; t < 8; ++t) {
        const int at = 35 + 21 * t;
        uint32_t sum = 0;
        for (int e = 0; e < kRanks; ++e) {
            sum += static_cast<uint32_t>(v[at + 2 * e]) * static_cast<uint32_t>(e + 4);
            sum += static_cast<uint32_t>(v[at + 2 * e + 1]) * static_cast<uint32_t>(t + e + 3);
        }
        tables = tables && static_cast<int>(sum) == v[at + 20];
    }
    check.valid = static_cast<int>(settings) == v[25] && static_cast<int>(badges) == v[34] && tables;
    return check;
}

std::string FileText(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A full collection from the host's delegate, twice, so that only what is
// reachable stays; then the live bytes and objects.
struct LiveHeap { int bytes = 0, objects = 0; };

LiveHeap CollectFully(HeadlessDriver& driver) {
    for (int pass = 0; pass < 2; ++pass) {
        gc_mark_q(static_cast<gc_object*>(driver.Host().Delegate()));
        gc_collect_all();
    }
    LiveHeap heap{gc_alloced_bytes, 0};
    for (gc_object* list : {&gc_queued_list, &gc_unmarked_list, &gc_marked_list}) {
        for (gc_object* p = list->succ; p != list; p = p->succ) ++heap.objects;
    }
    return heap;
}

class Soak {
public:
    // The generated data folder, so that every picture, sound and tune loads.
    Soak() : driver_(640, 480, TARVOLAN_DATA_DIR), bot_(driver_) {
        driver_.WatchDraws(false);
        EXPECT_TRUE(driver_.FinishLoading());
    }

    // Game n is on difficulty 1 + n % 3. Games 1, 5, 9 ... are paused a
    // while and games 3, 7, 11 ... quit from the pause menu, if still going
    // after kPauseAfter updates; the others play on until they are lost.
    void PlayGame(int game) {
        const int difficulty = 1 + game % kDifficulties;
        bot_.StartGame(difficulty);
        if (game % 2 == 1 && !bot_.PlayToEnd(kPauseAfter)) {
            if (game % 4 == 1) {
                bot_.Pause(kPauseUpdates);
                ++pauses_;
            } else {
                bot_.Quit();
                ++quits_;
            }
        }
        if (!bot_.PlayToEnd(kLongestGame)) {
            bot_.Quit();
            ++quits_;
        }
        for (int i = 0; i < kHandoverBound && App().m_mode != screen_mode::kTitle; ++i) Frame();
        EXPECT_EQ(App().m_mode, screen_mode::kTitle) << "game " << game;
        std::deque<int>& last = last_[difficulty - 1];
        last.push_front(App().m_score);
        if (last.size() > kRanks) last.pop_back();
        CheckSaveAndLastScores();
    }

    void CheckSaveAndLastScores() {
        const SaveCheck save = CheckSave(FileText(driver_.StateFile()));
        EXPECT_TRUE(save.valid);
        for (int d = 1; d <= kDifficulties; ++d) {
            const std::deque<int>& expected = last_[d - 1];
            for (size_t rank = 0; rank < expected.size(); ++rank) {
                SCOPED_TRACE(testing::Message() << "difficulty " << d << ", rank " << rank);
                EXPECT_EQ(App().m_scores[score_table::Last(d, rank)], expected[rank]);
                // Table d - 1 in the file; its second values are the last scores.
                if (save.valid) {
                    EXPECT_EQ(save.values[35 + 21 * (d - 1) + 2 * rank + 1], expected[rank]);
                }
            }
        }
    }

    int Updates() const { return bot_.Updates() + frames_; }
    int Pauses() const { return pauses_; }
    int Quits() const { return quits_; }
    HeadlessDriver& Driver() { return driver_; }

private:
    const c_MyApp& App() const { return driver_.App(); }
    void Frame() {
        driver_.Frame();
        ++frames_;
    }

    HeadlessDriver driver_;
    PlayBot bot_;
    int frames_ = 0;
    int pauses_ = 0, quits_ = 0;
    std::deque<int> last_[kDifficulties];
};

TEST(Soak, AnHourOfPlayOnEveryDifficultyLeavesNoErrorNoGrowthAndGoodSaves) {
    Soak soak;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    soak.PlayGame(0);
    const LiveHeap first = CollectFully(soak.Driver());
    int games = 1;
    LiveHeap most = first;
    while (soak.Updates() < kUpdatesPerHour) {
        soak.PlayGame(games++);
        const LiveHeap heap = CollectFully(soak.Driver());
        most.bytes = std::max(most.bytes, heap.bytes);
        most.objects = std::max(most.objects, heap.objects);
    }
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "");
    for (const char* fault : {"Invalid", "Error", "error"}) EXPECT_EQ(out.find(fault), std::string::npos) << out;
    EXPECT_LE(most.bytes, first.bytes + kHeapSlackBytes);
    EXPECT_LE(most.objects, first.objects + kObjectSlack);
    std::printf("%d games (%d paused, %d quit), %d updates; live heap after the first game %d bytes in %d objects, "
                "at most %d bytes in %d objects after\n",
                games, soak.Pauses(), soak.Quits(), soak.Updates(), first.bytes, first.objects, most.bytes, most.objects);
}

}  // namespace
