// A game on the headless driver, started as the title menu starts one, with
// helpers that lay small scenes over the generated level (a straight
// corridor to the ship, a turret, a bullet) and a log of the effects played.
#pragma once

#include <AL/al.h>
#include <gtest/gtest.h>

#include <vector>

#include "devices/gxtk_audio.h"
#include "tests/support/headless_driver.h"
#include "tests/support/play_bot.h"

// The keyboard's speed buttons: J, K and L are buttons 10, 11 and 12.
constexpr int kKeyStroll = 'J';
constexpr int kKeyButton11 = 'K';
constexpr int kKeyButton12 = 'L';

// The corridor runs along the ship's row; its walkers walk right, to the ship.
constexpr int kCorridorRow = map_cell::kShipRow;

struct Effect { int id; float volume; };

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(driver.FinishLoading()); }

    c_MyApp& App() { return driver.App(); }
    float& Party(int index) { return App().m_party[index]; }
    float& WalkerField(int p, int field) { return App().m_party[TableIndex(p, field)]; }

    void StartGame(int difficulty) { bot.StartGame(difficulty); }

    // Only a corridor from `fromColumn` to the ship, walker p on its column
    // fromColumn + p - 1 for p up to `walkers` and the others lost; no bullet
    // or particle, the countdown over, no lock, the view on the corridor.
    void Corridor(int fromColumn, int walkers) {
        c_MyApp& app = App();
        for (int i = 0; i < map_cell::kTableFloats; ++i) app.m_map[i] = 0;
        for (int col = fromColumn; col < map_cell::kShipColumn; ++col) {
            app.m_map[map_cell::Index(col, kCorridorRow, map_cell::code)] = cell_code::kLeft;
        }
        for (int i = 0; i < bullet_record::kTableFloats; ++i) app.m_bullets[i] = 0;
        app.p_ResetParticles(particle_record::kDefaultCount);
        for (int p = 1; p <= party_table::kWalkers; ++p) PlaceWalker(p, fromColumn + p - 1, p <= walkers ? p : 0);
        Party(party_table::kCountdown) = 0;
        Party(party_table::kLiftOff) = 0;
        app.m_keyLock = app.m_touchLock = 0;
        View(static_cast<float>(fromColumn * map_cell::kPixels), kCorridorRow * map_cell::kPixels);
    }

    void PlaceWalker(int p, int column, int status) {
        const float record[kTableRecordFloats] = {static_cast<float>(status), static_cast<float>(column), kCorridorRow,
                                                  0, 0, cell_code::kLeft, 0, 0, 0, walker_record::kWalking};
        for (int k = 0; k < kTableRecordFloats; ++k) WalkerField(p, k) = record[k];
    }

    // The camera, its target and the focus centred on world point (x, y).
    void View(float x, float y) {
        c_MyApp& app = App();
        app.m_camX = app.m_camTargetX = x - kz_Tarvo_jscrw * 0.5f;
        app.m_camY = app.m_camTargetY = y - kz_Tarvo_jscrh * 0.5f;
        Party(TableIndex(party_table::kFocusRecord, party_table::focusX)) = x;
        Party(TableIndex(party_table::kFocusRecord, party_table::focusY)) = y;
    }

    // A fixed gun that fires at `angle` in the next frame.
    void Turret(int col, int row, float angle) {
        const float cell[] = {cell_code::kTurret, angle, 0, 100, 1, 0, 0};
        for (int k = 0; k < 7; ++k) App().m_map[map_cell::Index(col, row, k)] = cell[k];
    }

    void Bullet(int record, float x, float y, float angle) {
        const float bullet[] = {1, x, y, angle, 0, 0, 0, 5};
        for (int k = 0; k < 8; ++k) App().m_bullets[TableIndex(record, k)] = bullet[k];
    }

    int FlyingBullets() {
        int count = 0;
        for (int r = 0; r < bullet_record::kRecords; ++r) count += App().m_bullets[TableIndex(r, 0)] > 0;
        return count;
    }

    // A silent stand-in in every sound slot, so that the channels show which
    // effect each of them last started.
    void ListenToEffects() {
        for (int id = 1; id < sound_id::kSlots; ++id) {
            gc_assign(App().m_sounds[id], (new c_Sound())->m_new(new gxtkSample()));
        }
        heardUpTo_ = App().m_sfxChannel;
    }

    // The effects started since the last look (fewer than the 24 channels
    // they rotate over), oldest first.
    std::vector<Effect> EffectsSinceLastLook() {
        c_MyApp& app = App();
        std::vector<Effect> effects;
        for (int ch = heardUpTo_; ch != app.m_sfxChannel;) {
            ch = (ch + 1) % 24;
            const gxtkChannel& channel = kz_audio_device->channels[ch];
            float volume = 0;
            alGetSourcef(channel.source, AL_GAIN, &volume);
            for (int id = 1; id < sound_id::kSlots; ++id) {
                if (app.m_sounds[id]->m_sample == channel.sample) effects.push_back({id, volume});
            }
        }
        heardUpTo_ = app.m_sfxChannel;
        return effects;
    }

    std::vector<int> EffectIds() {
        std::vector<int> ids;
        for (const Effect& effect : EffectsSinceLastLook()) ids.push_back(effect.id);
        return ids;
    }

    HeadlessDriver driver;
    PlayBot bot{driver};

private:
    int heardUpTo_ = 0;
};
