// A game whose loading is over, on the title mode, through the headless
// driver: presses and clicks that last one update, and what an update drew.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/headless_driver.h"

struct BoxesGame {
    explicit BoxesGame(int width = 640, int height = 480) : driver(width, height) {
        EXPECT_TRUE(driver.FinishLoading());
    }

    // The title menu starts each update's picture afresh, so the display list
    // holds one update.
    void Update() { driver.Update(); }
    void Updates(int count) {
        for (int i = 0; i < count; ++i) Update();
    }
    // Held for one update and released in the next.
    void Push(int glfwKey, int times = 1) {
        for (int i = 0; i < times; ++i) {
            driver.Press(glfwKey);
            Update();
            driver.Release(glfwKey);
            Update();
        }
    }
    void Mouse(int action, int x = 0, int y = 0) {
        if (action == glfw2::PRESS) driver.Backend().QueueMouseMove(x, y);
        driver.Backend().QueueMouseButton(glfw2::MOUSE_BUTTON_LEFT, action);
    }
    void Click(int x, int y) {
        Mouse(glfw2::PRESS, x, y);
        Update();
        Mouse(glfw2::RELEASE);
        Update();
    }

    // Each run of glyphs drawn, without spaces (a space draws nothing).
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        bool inText = false;
        for (const DrawRecord& record : driver.DisplayList()) {
            const bool glyph = record.kind == app.m_fontImage;
            if (glyph && !inText) texts.emplace_back();
            if (glyph) texts.back() += static_cast<char>(record.frame + 32);
            inText = glyph;
        }
        return texts;
    }
    bool Drew(std::string text) const {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        const std::vector<std::string> texts = Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    std::vector<DrawRecord> Rects(float width, float height) const {
        std::vector<DrawRecord> rects;
        for (const DrawRecord& r : driver.DisplayList()) {
            if (r.kind == kNoValue && r.sizeX == width && r.sizeY == height) rects.push_back(r);
        }
        return rects;
    }

    HeadlessDriver driver;
    c_MyApp& app = driver.App();
};
