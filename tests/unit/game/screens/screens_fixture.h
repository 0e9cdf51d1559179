// A game past its loading on the headless driver, with the menu sounds in the
// data folder, and the ways screen tests click, read the drawing and hear.
#pragma once

#include <AL/al.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "devices/gxtk_audio.h"
#include "tests/support/audio_fixtures.h"
#include "tests/support/headless_driver.h"

struct Screens {
    explicit Screens(int width = 640, int height = 480) : driver(width, height), app(driver.App()) {
        std::filesystem::create_directories(driver.DataDir() + "/sfx");
        for (const char* name : {"096", "098", "099"})
            audio_fixtures::WriteToneWav(driver.DataDir() + "/sfx/" + name + ".wav", 440, 64);
        EXPECT_TRUE(driver.FinishLoading());
    }

    // A new game of the highlighted type in its countdown; the new level's
    // input locks clear in the second frame, as nothing is held.
    void Play() {
        app.m_mode = screen_mode::kStartGame;
        driver.Frames(2);
    }

    // The left button (finger 0) pressed at a virtual point for one update.
    void Hold(float x, float y) {
        driver.Backend().QueueMouseMove(static_cast<int>(x * app.m_scaleX), static_cast<int>(y * app.m_scaleY));
        driver.Backend().QueueMouseButton(glfw2::MOUSE_BUTTON_LEFT, glfw2::PRESS);
        driver.Frame();
    }
    void Lift() {
        driver.Backend().QueueMouseButton(glfw2::MOUSE_BUTTON_LEFT, glfw2::RELEASE);
        driver.Frame();
    }
    void Click(float x, float y) {
        Hold(x, y);
        Lift();
    }
    // A key held for one update.
    void Key(int glfwKey) {
        driver.Press(glfwKey);
        driver.Frame();
        driver.Release(glfwKey);
        driver.Frame();
    }

    // The sound of the last effect and the rate it plays at; -1 for a
    // channel that holds none of the loaded sounds.
    struct Sound { int id = -1; float rate = 0; };
    Sound LastSound() const {
        const gxtkChannel& channel = kz_audio_device->channels[app.m_channels[app.m_sfxChannel]];
        Sound sound;
        for (int id : {sound_id::kJingle, sound_id::kSelect, sound_id::kTick})
            if (app.m_sounds[id] && channel.sample == app.m_sounds[id]->m_sample) sound.id = id;
        alGetSourcef(channel.source, AL_PITCH, &sound.rate);
        return sound;
    }

    // The image records of one frame of an image.
    std::vector<DrawRecord> Images(int image, int frame) const {
        std::vector<DrawRecord> found;
        for (const DrawRecord& r : driver.DisplayList())
            if (r.kind == image && r.frame == frame) found.push_back(r);
        return found;
    }

    // The characters the text writer drew in a colour, spaces left out.
    std::string Glyphs(float red, float green, float blue) const {
        std::string text;
        for (const DrawRecord& r : driver.DisplayList())
            if (r.kind == app.m_fontImage && r.red == red && r.green == green && r.blue == blue)
                text += static_cast<char>(r.frame + 32);
        return text;
    }

    HeadlessDriver driver;
    c_MyApp& app;
};
