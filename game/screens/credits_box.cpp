// The credits: a television test card over the title screen. A grid of tiles
// with coloured ramps along its border, four corner circles showing the
// screen and rate figures, and the credit lines scrolling slowly up through
// the middle. While the box fades in, the tiles fly in from outside the
// screen, grow and become opaque; after it closes they fly apart again.
#include <algorithm>
#include <cmath>

#include "game/screens/kit.h"

namespace {

constexpr float kCellsAcross = 12;  // cells along the longer side
constexpr int kFullTileFade = 20;   // tiles reach their full size at this fade
constexpr int kPictureSlide = 24;  // units the centre picture and lines rise per fade step

// Credit lines: 16 units apart, eight shown (three above the centre line and
// four below), drifting up 0.3 units per update, 1.5 more while up or down is
// held.
constexpr float kLineSpacing = 16;
constexpr int kFirstLine = -3;
constexpr int kLastLine = 4;
constexpr float kScrollPerUpdate = 0.3f;
constexpr float kFastScrollPerUpdate = 1.5f;

// The card's layout for one update.
struct Card {
    float w, h;
    float s;         // cell size
    int cols, rows;  // cells, not counting the far border
    float offX, offY;
    int slide;    // 30 - fade: how far the pieces still have to travel
    float alpha;  // fade / 30
    float t;      // tile size
};

Card LayOutCard(int fade) {
    Card card;
    card.w = kz_Tarvo_jscrw;
    card.h = kz_Tarvo_jscrh;
    card.s = std::max(card.w / kCellsAcross, card.h / kCellsAcross);
    card.cols = TruncToInt(card.w / card.s);
    card.rows = TruncToInt(card.h / card.s);
    card.offX = 0.5f * card.w - static_cast<float>(card.cols) * card.s * 0.5f;
    card.offY = 0.5f * card.h - static_cast<float>(card.rows) * card.s * 0.5f;
    card.slide = c_MyApp::kBoxFadeFrames - fade;
    card.alpha = static_cast<float>(fade) / c_MyApp::kBoxFadeFrames;
    card.t = fade < kFullTileFade ? card.s * static_cast<float>(fade) / kFullTileFade : card.s;
    return card;
}

// A cell's distance from the centre line in cells; there is no zero, so the
// cells left of and at the centre count from -1 outward.
int CentreOffset(int cell, int cells) {
    const int offset = cell - cells / 2;
    return offset < 1 ? offset - 1 : offset;
}

int ClampChannel(int value) { return Clamp(value, 0, 255); }

// The ramps run over the cells between the corners. A card only two cells
// deep has none between them; its ramp is taken over one cell rather than
// dividing by zero.
int RampCells(int cells) { return cells - 2 == 0 ? 1 : cells - 2; }


Rgb Channels(int red, int green, int blue) {
    return {static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue)};
}

// Top edge red to green, sides blue, bottom edge black to white; a later
// rule wins in the corners.
Rgb BorderColour(const Card& card, int c, int r) {
    const int red = 512 / RampCells(card.cols) * (c - 1);
    const int blue = (r - 1) * 512 / RampCells(card.rows);
    const int grey = ClampChannel(255 / RampCells(card.cols) * (c - 1));
    Rgb colour{0, 0, 0};
    if (r == 0) colour = Channels(ClampChannel(red), ClampChannel(512 - red), 0);
    if (c == 0) colour = Channels(0, ClampChannel(512 - blue), ClampChannel(blue));
    if (c == card.cols) colour = Channels(ClampChannel(512 - blue), 0, ClampChannel(blue));
    if (r == card.rows) colour = Channels(grey, grey, grey);
    return colour;
}

void DrawCell(c_MyApp& app, const Card& card, int c, int r) {
    const int dx = CentreOffset(c, card.cols);
    const int dy = CentreOffset(r, card.rows);
    const float x = static_cast<float>(c) * card.s + static_cast<float>(card.slide * dx * std::abs(dx)) + card.offX -
                    card.t / 2;
    const float y = static_cast<float>(r) * card.s + static_cast<float>(card.slide * dy * std::abs(dy)) + card.offY -
                    card.t / 2;
    const bool leftOrRight = c == 0 || c == card.cols;
    const bool topOrBottom = r == 0 || r == card.rows;
    const bool border = leftOrRight || topOrBottom;

    const float tile = border ? 0.0f : 255.0f;
    app.p_SetCol(tile, tile, tile, card.alpha);
    app.p_Rect(x, y, card.t + 1, card.t + 1);

    if (!border) {
        // A grey square inset in the tile; along the second-last row the
        // squares widen into one band.
        float mx = 2, mw = 4;
        if (r == card.rows - 1 && c >= 4 && c < card.cols - 2) {
            mx = -6;
            mw = c == card.cols - 3 ? -4.0f : -24.0f;
        }
        app.p_SetCol(128, 128, 128, card.alpha);
        app.p_Rect(x + mx, y + 2, card.t - mw, card.t - 4);
        return;
    }
    if (leftOrRight && topOrBottom) return;
    const Rgb colour = BorderColour(card, c, r);
    const float mx = topOrBottom ? 8.0f : 0.0f;
    const float my = leftOrRight ? 8.0f : 0.0f;
    app.p_SetCol(colour.red, colour.green, colour.blue, card.alpha);
    app.p_Rect(x + mx, y + my, card.t - 2 * mx, card.t - 2 * my);
}

void DrawGrid(c_MyApp& app, const Card& card) {
    for (int c = 0; c <= card.cols; ++c) {
        for (int r = 0; r <= card.rows; ++r) DrawCell(app, card, c, r);
    }
}

// Lines fade out above and below the centre. They cycle through every line
// but the last; a text of one line shows that line, an empty one nothing.
void DrawCreditLines(c_MyApp& app, const Card& card) {
    app.m_creditScroll -= kScrollPerUpdate;
    if (app.p_AnyButtonDown({button_id::kDown, button_id::kUp}) != 0) app.m_creditScroll -= kFastScrollPerUpdate;
    if (app.m_creditScroll < -kLineSpacing) {
        app.m_creditScroll += kLineSpacing;
        app.m_creditLine += 1;
    }
    const int count = kz_Tarvo_CreditText.Length();
    if (count == 0) return;
    const int cycle = std::max(count - 1, 1);
    app.p_SetSize(1, 1);
    for (int i = kFirstLine; i <= kLastLine; ++i) {
        const float offset = kLineSpacing * static_cast<float>(i) + app.m_creditScroll;
        const float e = std::fabs(offset / 40) - 0.3f;
        const float alpha = e < 0 ? 1.0f : (e > 1 ? 0.0f : 1 - e);
        int line = (app.m_creditLine + i) % cycle;
        if (line < 0) line += cycle;
        app.p_SetCol(255, 255, 255, alpha);
        app.p_Text(0.5f * card.w + 24, 0.5f * card.h - static_cast<float>(card.slide * kPictureSlide) + offset,
                   kz_Tarvo_CreditText[line], 0.8f, 0.8f);
    }
}

// A white disc with a grey one inside.
void CornerCircle(c_MyApp& app, const Card& card, float x, float y) {
    app.p_SetCol(255, 255, 255, card.alpha);
    app.p_Oval(x, y, card.t, card.t);
    app.p_SetCol(128, 128, 128, card.alpha);
    app.p_Oval(x, y, card.t - 3, card.t - 3);
    app.p_SetCol(255, 255, 255, card.alpha);
}

void ThreeNumbers(c_MyApp& app, float x, float y, int first, int second, int third) {
    app.p_Text(x, y - 16, String(first), 0.8f, 0.8f);
    app.p_Text(x, y, String(second), 0.8f, 0.8f);
    app.p_Text(x, y + 16, String(third), 0.8f, 0.8f);
}

// Top left the window's size and the update rate, top right the virtual
// screen's size and the render rate; a pad glyph and the maker's logo below.
void DrawCorners(c_MyApp& app, const Card& card) {
    app.p_SetSize(1, 1);
    app.p_SetRot(0);
    app.m_blend = 1;
    const float slide = static_cast<float>(card.slide);
    const float left = 1.5f * card.s + card.offX - slide * 6;
    const float right = (static_cast<float>(card.cols) - 1.5f) * card.s + card.offX + slide * 6;
    const float top = 1.5f * card.s + card.offY - slide * 3;
    const float bottom = (static_cast<float>(card.rows) - 1.5f) * card.s + card.offY + slide * 3;

    CornerCircle(app, card, left, top);
    ThreeNumbers(app, left, top, kz_app__devWidth, kz_app__devHeight, app.m_fpsAverage);
    CornerCircle(app, card, right, top);
    ThreeNumbers(app, right, top, TruncToInt(card.w), TruncToInt(card.h), app.m_renderFpsAverage);
    CornerCircle(app, card, left, bottom);
    app.p_DrawImg(image_id::kMenuButtons, left, bottom, menu_button_frame::kCreditsEmblem);
    CornerCircle(app, card, right, bottom);
    app.p_SetSize(0.3f, 0.3f);
    app.p_DrawImg(image_id::kMakerLogo, right, bottom, 0);
}

// Any touch or a confirm button closes the card; the touch or press that
// opened it has to end first (the locks).
void CloseOnRequest(c_MyApp& app) {
    if (app.m_touching > 0 && app.m_touchLock == 0) {
        app.m_touchLock = 1;
        app.m_creditsOpen = 0;
        app.p_PlaySFX(sound_id::kTick, 1.0f);
    }
    if (app.m_keyLock == 0 && app.p_AnyButtonDown({button_id::kAction6, button_id::kAction1, button_id::kAction2}) != 0) {
        app.m_keyLock = 1;
        app.m_creditsOpen = 0;
        app.p_PlaySFX(sound_id::kTick, 1.0f);
    }
}

}  // namespace

int c_MyApp::p_CreditBox() {
    const Card card = LayOutCard(m_creditsFade);
    p_ResetDraw();
    p_Alpha(card.alpha);
    DrawGrid(*this, card);

    p_SetCol(255, 255, 255, card.alpha);
    p_SetSize(1, 1);
    p_DrawImg(image_id::kTestCard, 0.5f * card.w, 0.5f * card.h - static_cast<float>(card.slide * kPictureSlide), 0);
    DrawCreditLines(*this, card);

    p_SetCol(255, 255, 255, card.alpha);
    p_SetSize(0.4f, 0.4f);
    p_DrawImg(image_id::kTitleLogo, 0.5f * card.w,
              static_cast<float>(card.slide * 4) + static_cast<float>(card.rows - 1) * card.s + card.offY, 0);
    DrawCorners(*this, card);
    CloseOnRequest(*this);
    return 0;
}
