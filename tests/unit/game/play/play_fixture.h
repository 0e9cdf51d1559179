// A game on the headless driver, started as the title menu starts one, with
// helpers that lay small scenes over the generated level (a straight
// corridor to the ship, a turret, a bullet) and a log of the effects played.
#pragma once

#include <AL/al.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/gxtk_audio.h"
#include "tests/support/headless_driver.h"
#include "tests/support/play_bot.h"

// Keys of the speed buttons on the keyboard: J, K, L are buttons 10, 11, 12.
constexpr int kKeyStroll = 'J';
constexpr int kKeyButton11 = 'K';
constexpr int kKeyButton12 = 'L';

// The corridor runs along the ship's row; walkers walk right, to the ship.
constexpr int kCorridorRow = map_cell::kShipRow;

struct Effect {
    int id;
    float volume;
};

class PlayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(driver.FinishLoading()); }

    c_MyApp& App() { return driver.App(); }
    float& Party(int index) { return App().m_party[index]; }
    float& WalkerField(int p, int field) { return App().m_party[TableIndex(p, field)]; }

    void StartGame(int difficulty, int layout = 0) {
        bot.StartGame(difficulty);
        App().m_padGlyphs = layout;
    }

    // A level of one corridor along the ship's row from `fromColumn` to the
    // ship, walker p standing on column fromColumn + p - 1 for p up to
    // `walkers` and the others lost; no turrets, no bullets, no particles,
    // the countdown over, nothing held over and the view on the party.
    void Corridor(int fromColumn, int walkers) {
        c_MyApp& app = App();
        for (int i = 0; i < map_cell::kTableFloats; ++i) app.m_map[i] = 0;
        for (int col = fromColumn; col < map_cell::kShipColumn; ++col) {
            app.m_map[map_cell::Index(col, kCorridorRow, map_cell::code)] = cell_code::kLeft;
        }
        for (int i = 0; i < bullet_record::kTableFloats; ++i) app.m_bullets[i] = 0;
        app.p_ResetParticles(particle_record::kDefaultCount);
        for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
            PlaceWalker(p, fromColumn + p - 1, p <= walkers ? p : 0);
        }
        Party(party_table::kCountdown) = 0;
        Party(party_table::kLiftOff) = 0;
        app.m_keyLock = 0;
        app.m_touchLock = 0;
        View(static_cast<float>(fromColumn * map_cell::kPixels), static_cast<float>(kCorridorRow * map_cell::kPixels));
    }

    void PlaceWalker(int p, int column, int status) {
        using namespace walker_record;
        const float values[kTableRecordFloats] = {
            static_cast<float>(status), static_cast<float>(column), kCorridorRow, 0, 0, cell_code::kLeft, 0, 0, 0,
            kWalking};
        for (int k = 0; k < kTableRecordFloats; ++k) WalkerField(p, k) = values[k];
    }

    // Camera, its target and the focus on world point (x, y), centred.
    void View(float x, float y) {
        c_MyApp& app = App();
        app.m_camX = app.m_camTargetX = x - kz_Tarvo_jscrw * 0.5f;
        app.m_camY = app.m_camTargetY = y - kz_Tarvo_jscrh * 0.5f;
        Party(TableIndex(party_table::kFocusRecord, party_table::focusX)) = x;
        Party(TableIndex(party_table::kFocusRecord, party_table::focusY)) = y;
    }

    // A fixed gun that fires at `angle` in the next frame.
    void Turret(int col, int row, float angle) {
        using namespace map_cell;
        const float values[] = {cell_code::kTurret, angle, 0, 100, 1, 0, 0};
        for (int k = 0; k < 7; ++k) App().m_map[Index(col, row, k)] = values[k];
    }

    void Bullet(int record, float x, float y, float angle) {
        float* bullet = &App().m_bullets[TableIndex(record, 0)];
        bullet[bullet_record::code] = 1;
        bullet[bullet_record::x] = x;
        bullet[bullet_record::y] = y;
        bullet[bullet_record::angle] = angle;
        bullet[bullet_record::life] = 5;
    }

    int FlyingBullets() {
        int count = 0;
        for (int r = 0; r < bullet_record::kRecords; ++r) count += App().m_bullets[TableIndex(r, 0)] > 0;
        return count;
    }

    // Every sound slot gets a silent stand-in, so that the channels show
    // which effect each of them last started.
    void ListenToEffects() {
        c_MyApp& app = App();
        for (int id = 1; id < sound_id::kSlots; ++id) {
            gc_assign(app.m_sounds[id], (new c_Sound())->m_new(new gxtkSample()));
        }
        heardUpTo_ = app.m_sfxChannel;
    }

    // The effects started since the last call (fewer than 24), oldest first.
    std::vector<Effect> EffectsSinceLastLook() {
        c_MyApp& app = App();
        std::vector<Effect> effects;
        constexpr int kRotation = 24;
        for (int ch = heardUpTo_; ch != app.m_sfxChannel;) {
            ch = (ch + 1) % kRotation;
            const gxtkChannel& channel = kz_audio_device->channels[ch];
            float volume = 0;
            alGetSourcef(channel.source, AL_GAIN, &volume);
            for (int id = 1; id < sound_id::kSlots; ++id) {
                if (app.m_sounds[id] && app.m_sounds[id]->m_sample == channel.sample) effects.push_back({id, volume});
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

    int TuneStarts() {
        int count = 0;
        for (const std::string& file : driver.RequestedFiles(FileRequest::kSound)) count += file == "sfx/grounded.ogg";
        return count;
    }

    HeadlessDriver driver;
    PlayBot bot{driver};

private:
    int heardUpTo_ = 0;
};
