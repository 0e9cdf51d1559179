// The save text: the settings, the badge flags and the score tables as
// decimal values each followed by "|", in sections closed by a checksum. A
// section is loaded only when its checksum matches; one that does not is
// reset and reported. Checksums are 32-bit sums that wrap, computed unsigned
// so that any value an edited file holds is well defined.
//
// A section also fails when one of its fields is not a number as the save
// writes it. Whenever a load did not take the whole file as it was written
// (a section failed or was missing, a setting was repaired, something
// followed), the next save first keeps the file that was read beside the
// state file, so that nothing in it is lost to the rewrite.
#include <cstdint>
#include <string>

#include "game/myapp.h"

namespace {

constexpr int kBitsPerWord = 32;
constexpr int kBadgeWords = kBadgeFlags / kBitsPerWord;
constexpr int kSavedTables = 8;
constexpr int kLoadedTables = 3;
constexpr int kRanks = score_table::kRanks;
constexpr int kTableElements = 2 * kRanks + 1;
// Every section written, each value followed by "|", so one empty element
// after the last.
constexpr int kSavedElements = setting::kCount + 1 + kBadgeWords + 1 + kSavedTables * kTableElements + 1;

// A running 32-bit checksum that wraps on overflow.
class Checksum {
public:
    void Add(int value) { sum_ += static_cast<uint32_t>(value); }
    void AddProduct(int value, int weight) { sum_ += static_cast<uint32_t>(value) * static_cast<uint32_t>(weight); }
    int Value() const { return static_cast<int>(sum_); }

private:
    uint32_t sum_ = 0;
};

// Table t holds the best scores of difficulty t + 1 and, as its second
// values, the last scores.
int ScoreIndex(int table, int rank) { return score_table::Best(table + 1, rank); }
int SecondScoreIndex(int table, int rank) { return score_table::Last(table + 1, rank); }
int TableWeight(int rank) { return rank + 4; }
int SecondTableWeight(int table, int rank) { return table + rank + 3; }

void AppendValue(std::string& text, int value) {
    text += std::to_string(value);
    text += '|';
}

int BadgeWord(const Array<bool>& flags, int word) {
    uint32_t bits = 0;
    for (int b = 0; b < kBitsPerWord; ++b) {
        if (flags[kBitsPerWord * word + b]) bits |= uint32_t{1} << b;
    }
    return static_cast<int>(bits);
}

}  // namespace

int c_MyApp::p_Save() {
    if (m_keepReadState == 1) {
        // The file as the last load read it; the save goes on whether or
        // not it could be kept, so that this session's settings are not
        // lost as well.
        kz_app_KeepState();
        m_keepReadState = 0;
    }
    std::string text;
    Checksum settings;
    for (int i = 0; i < setting::kCount; ++i) {
        AppendValue(text, m_settings[i]);
        settings.AddProduct(m_settings[i], i);
    }
    AppendValue(text, settings.Value());

    Checksum badges;
    for (int j = 0; j < kBadgeWords; ++j) {
        const int word = BadgeWord(m_badgeFlags, j);
        AppendValue(text, word);
        badges.Add(word);
    }
    AppendValue(text, badges.Value());

    for (int t = 0; t < kSavedTables; ++t) {
        Checksum table;
        for (int e = 0; e < kRanks; ++e) {
            const int first = m_scores[ScoreIndex(t, e)];
            const int second = m_scores[SecondScoreIndex(t, e)];
            AppendValue(text, first);
            AppendValue(text, second);
            table.AddProduct(first, TableWeight(e));
            table.AddProduct(second, SecondTableWeight(t, e));
        }
        AppendValue(text, table.Value());
    }

    const String state(text.c_str());
    if (kz_Tarvo_DebugMode == 1) kzPrint(state);
    kz_app_SaveState(state);
    return 0;
}

namespace {

// Reads the sections of a split save text one after the other from a moving
// read position; a section that is not complete is left alone.
class SaveReader {
public:
    SaveReader(c_MyApp& app, const Array<String>& parts) : app_(app), parts_(parts) {}

    void ReadSettings() {
        if (parts_.Length() < setting::kCount + 1) return;
        Checksum sum;
        for (int i = 0; i < setting::kCount; ++i) {
            app_.m_settings[i] = Value(i);
            sum.AddProduct(app_.m_settings[i], i);
        }
        position_ = setting::kCount + 1;
        if (Accepted(0, setting::kCount, sum)) {
            kzPrint(String("Settings Loaded"));
            ++sectionsLoaded_;
            return;
        }
        kzPrint(String("Settings Checksum Invalid"));
        for (int i = 0; i < setting::kCount; ++i) app_.m_settings[i] = 0;
        app_.m_settings[setting::kSound] = 1;
    }

    // The flags are written before the checksum is known, and cleared when it
    // fails.
    void ReadBadges() {
        if (position_ + kBadgeWords >= parts_.Length()) return;
        Checksum sum;
        for (int j = 0; j < kBadgeWords; ++j) {
            const uint32_t word = static_cast<uint32_t>(Value(position_ + j));
            for (int b = 0; b < kBitsPerWord; ++b) app_.m_badgeFlags[kBitsPerWord * j + b] = ((word >> b) & 1) != 0;
            sum.Add(static_cast<int>(word));
        }
        const bool accepted = Accepted(position_, position_ + kBadgeWords, sum);
        position_ += kBadgeWords + 1;
        if (accepted) {
            kzPrint(String("Badges Loaded"));
            ++sectionsLoaded_;
            return;
        }
        kzPrint(String("Badge Checksum Invalid"));
        for (int i = 0; i < app_.m_badgeFlags.Length(); ++i) app_.m_badgeFlags[i] = false;
    }

    // A table that is not complete stops the reading, so later tables are
    // skipped too.
    void ReadTables() {
        for (int t = 0; t < kLoadedTables; ++t) {
            if (position_ + 2 * kRanks >= parts_.Length()) return;
            ReadTable(t);
        }
    }

    // Whether every section was read and accepted and the text is exactly
    // as long as a save makes it.
    bool TookWholeText() const {
        return sectionsLoaded_ == 2 + kLoadedTables && parts_.Length() == kSavedElements &&
               parts_[kSavedElements - 1].Length() == 0;
    }

private:
    void ReadTable(int t) {
        Checksum sum;
        for (int e = 0; e < kRanks; ++e) {
            const int first = Value(position_ + 2 * e);
            const int second = Value(position_ + 2 * e + 1);
            app_.m_scores[ScoreIndex(t, e)] = first;
            app_.m_scores[SecondScoreIndex(t, e)] = second;
            sum.AddProduct(first, TableWeight(e));
            sum.AddProduct(second, SecondTableWeight(t, e));
        }
        const bool accepted = Accepted(position_, position_ + 2 * kRanks, sum);
        position_ += kTableElements;
        const String table = String("Highscore ") + String(t);
        if (accepted) {
            kzPrint(table + String(" Loaded"));
            ++sectionsLoaded_;
            return;
        }
        kzPrint(table + String(" Checksum Invalid"));
        for (int e = 0; e < kRanks; ++e) {
            app_.m_scores[ScoreIndex(t, e)] = 0;
            app_.m_scores[SecondScoreIndex(t, e)] = 0;
        }
    }

    int Value(int element) const { return parts_[element].ToInt(); }

    // A field as the save writes it: an optional minus sign and digits.
    bool IsNumber(int element) const {
        const String& field = parts_[element];
        const int first = field.Length() > 0 && field[0] == '-' ? 1 : 0;
        if (field.Length() == first) return false;
        for (int i = first; i < field.Length(); ++i) {
            if (field[i] < '0' || field[i] > '9') return false;
        }
        return true;
    }

    // The section's fields from `first` up to its checksum at `checksumAt`
    // are all numbers and the checksum matches their sum.
    bool Accepted(int first, int checksumAt, const Checksum& sum) const {
        for (int element = first; element <= checksumAt; ++element) {
            if (!IsNumber(element)) return false;
        }
        return Value(checksumAt) == sum.Value();
    }

    c_MyApp& app_;
    const Array<String>& parts_;
    int position_ = 0;
    int sectionsLoaded_ = 0;
};

// Pad layout and overscan within their working ranges; the overscan is only
// kept on the console. Returns whether any value changed.
bool RepairSettings(Array<int>& settings) {
    const int before[] = {settings[setting::kPadX], settings[setting::kPadHeight], settings[setting::kPadSize],
                          settings[setting::kOverscan]};
    if (settings[setting::kPadX] < 64) settings[setting::kPadX] = 64;
    if (settings[setting::kPadHeight] < 64) settings[setting::kPadHeight] = 64;
    if (settings[setting::kPadSize] < 8) settings[setting::kPadSize] = 10;
    if (settings[setting::kOverscan] < 1) settings[setting::kOverscan] = 64;
    if (kz_Tarvo_isOuya == 1) {
        kz_Tarvo_overscan = static_cast<float>(settings[setting::kOverscan]);
    } else if (kz_Tarvo_isOuya == 0) {
        settings[setting::kOverscan] = 1;
        kz_Tarvo_overscan = 0;
    }
    return before[0] != settings[setting::kPadX] || before[1] != settings[setting::kPadHeight] ||
           before[2] != settings[setting::kPadSize] || before[3] != settings[setting::kOverscan];
}

}  // namespace

int c_MyApp::p_Load() {
    const String text = kz_app_LoadState();
    const Array<String> parts = text.Split(String("|"));
    if (kz_Tarvo_DebugMode == 1) kzPrint(text);

    SaveReader reader(*this, parts);
    reader.ReadSettings();
    const bool repaired = RepairSettings(m_settings);
    reader.ReadBadges();
    reader.ReadTables();
    const bool firstRun = text.Length() == 0;
    m_keepReadState = !firstRun && (repaired || !reader.TookWholeText()) ? 1 : 0;
    return 0;
}
