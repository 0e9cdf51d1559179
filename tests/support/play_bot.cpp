#include "tests/support/play_bot.h"

namespace {

constexpr int kRunKey = 'L';  // action button 3: "Run" on the keyboard layout
constexpr int kKeyboardLayout = 0;
constexpr int kPauseKey = glfw2::KEY_ESC;
constexpr int kLeftKey = glfw2::KEY_LEFT;
constexpr int kEnterKey = glfw2::KEY_ENTER;

float WorldX(const float* walker) {
    return (walker[walker_record::column] + walker[walker_record::offsetX]) * map_cell::kPixels;
}
float WorldY(const float* walker) {
    return (walker[walker_record::row] + walker[walker_record::offsetY]) * map_cell::kPixels;
}

}  // namespace

PlayBot::PlayBot(HeadlessDriver& driver, float caution) : driver_(driver), caution_(caution) {}

void PlayBot::StartGame(int difficulty) {
    c_MyApp& app = driver_.App();
    app.m_difficulty = difficulty;
    app.m_padGlyphs = kKeyboardLayout;
    app.m_mode = screen_mode::kStartGame;
    Update();
}

void PlayBot::Step() {
    const c_MyApp& app = driver_.App();
    // Holding through a level's start would keep the new level's key lock.
    Hold(app.m_party[party_table::kCountdown] < 1 && !BulletNearParty());
    Update();
}

void PlayBot::Steps(int count) {
    for (int i = 0; i < count; ++i) Step();
}

bool PlayBot::PlayToEnd(int bound) {
    for (int i = 0; i < bound && driver_.App().m_gameOver == 0; ++i) Step();
    Hold(false);
    return driver_.App().m_gameOver != 0;
}

void PlayBot::Pause(int updates) {
    Hold(false);
    Key(kPauseKey);
    for (int i = 0; i < updates; ++i) Update();
    Key(kPauseKey);
}

void PlayBot::Quit() {
    Hold(false);
    for (const int key : {kPauseKey, kLeftKey, kEnterKey}) Key(key);
}

bool PlayBot::BulletNearParty() const {
    const c_MyApp& app = driver_.App();
    const float reach = caution_ * caution_;
    for (int b = 0; b < bullet_record::kRecords; ++b) {
        const float* bullet = &app.m_bullets[TableIndex(b, 0)];
        if (bullet[bullet_record::code] <= 0) continue;
        for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
            const float* walker = &app.m_party[TableIndex(p, 0)];
            if (walker[walker_record::status] <= 0 || walker[walker_record::pose] != walker_record::kWalking) continue;
            const float dx = bullet[bullet_record::x] - WorldX(walker);
            const float dy = bullet[bullet_record::y] - WorldY(walker);
            if (dx * dx + dy * dy < reach) return true;
        }
    }
    return false;
}

void PlayBot::Hold(bool run) {
    if (run == holding_) return;
    if (run) {
        driver_.Press(kRunKey);
    } else {
        driver_.Release(kRunKey);
    }
    holding_ = run;
}

void PlayBot::Update() {
    driver_.Update();
    ++updates_;
}

// Held for one update, released in the next.
void PlayBot::Key(int glfwKey) {
    driver_.Press(glfwKey);
    Update();
    driver_.Release(glfwKey);
    Update();
}
