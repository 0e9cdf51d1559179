// Frame presentation: the render rate, the background, the virtual screen laid
// over the window, and the replay of the display list the last update
// recorded.
#include <algorithm>

#include "game/myapp.h"

namespace {

constexpr int kAdditiveBlendCode = 3;

}  // namespace

int c_MyApp::p_OnRender() {
    p_RenderRateStatistics();
    const int width = kz_app_DeviceWidth();
    const int height = kz_app_DeviceHeight();

    // An opaque background is cleared where that gives the same pixels (far
    // cheaper than filling the window); a translucent one is painted over the
    // last frame.
    if (gxtkGraphics::ClsMatchesFill(m_clsRed, m_clsGreen, m_clsBlue, m_clsAlpha)) {
        kz_graphics_Cls(m_clsRed, m_clsGreen, m_clsBlue);
    } else {
        kz_graphics_SetColor(m_clsRed, m_clsGreen, m_clsBlue);
        kz_graphics_SetAlpha(m_clsAlpha);
        kz_graphics_DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    }
    kz_graphics_SetColor(255, 255, 255);
    kz_graphics_SetAlpha(1);

    // An iconified window has no area: its layout would divide by zero, and
    // treating it as a new size would reload every asset on restore. Keep the
    // last layout until the window has a size again.
    if (width > 0 && height > 0) {
        p_FollowDeviceSize(width, height);
        p_LayOutVirtualScreen(width, height);
        p_ReplayDrawList(kz_Tarvo_overscan * height / width);
    }

    kz_graphics_SetAlpha(0.5f);
    kz_graphics_SetColor(255, 255, 255);
    return 0;
}

int c_MyApp::p_RenderRateStatistics() {
    p_MeasureRate(kz_app_Millisecs(), m_renderLastMillis, m_renderFps, m_renderFpsAverage);
    return 0;
}

// A new window size reloads every asset at the resolution that suits it.
int c_MyApp::p_FollowDeviceSize(int width, int height) {
    if (width == m_lastDevWidth && height == m_lastDevHeight) return 0;
    m_loadStep = 1;
    m_lastDevWidth = width;
    m_lastDevHeight = height;
    return 0;
}

// One virtual axis keeps its designed length and the other follows the
// window's aspect ratio; the axis whose scale is larger decides.
int c_MyApp::p_LayOutVirtualScreen(int width, int height) {
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    const float margin = 2 * kz_Tarvo_overscan;
    const float scaleByWidth = (w - margin) / kz_Tarvo_rawscrw;
    const float scaleByHeight = (h - margin) / kz_Tarvo_rawscrh;
    if (scaleByHeight > scaleByWidth) {
        m_fitAxis = 2;
        m_scaleX = m_scaleY = scaleByHeight;
        kz_Tarvo_jscrw = w / (h / kz_Tarvo_rawscrh);
        kz_Tarvo_jscrh = kz_Tarvo_rawscrh;
    } else {
        m_fitAxis = 1;
        m_scaleX = m_scaleY = scaleByWidth;
        kz_Tarvo_jscrw = kz_Tarvo_rawscrw;
        kz_Tarvo_jscrh = h / (w / kz_Tarvo_rawscrw);
    }
    m_landscape = kz_Tarvo_jscrh <= kz_Tarvo_jscrw ? 1 : 0;
    return 0;
}

// Every complete record in order, mapped from virtual to window pixels.
int c_MyApp::p_ReplayDrawList(float offsetY) {
    const int end = std::min(m_drawCount, m_drawList.Length());
    for (int at = 0; at + draw_record::kFloats <= end; at += draw_record::kFloats) p_ReplayRecord(at, offsetY);
    return 0;
}

int c_MyApp::p_ReplayRecord(int at, float offsetY) {
    const float* record = &m_drawList[at];
    const float x = m_scaleX * record[draw_record::x] + kz_Tarvo_overscan;
    const float y = m_scaleY * record[draw_record::y] + offsetY;
    kz_graphics_SetAlpha(record[draw_record::alpha]);
    kz_graphics_SetColor(record[draw_record::red], record[draw_record::green], record[draw_record::blue]);
    kz_graphics_SetBlend(record[draw_record::blend] == kAdditiveBlendCode ? 1 : 0);

    const float kind = record[draw_record::kind];
    const float sizeX = record[draw_record::sizeX];
    const float sizeY = record[draw_record::sizeY];
    if (kind == kNoValue) {
        // A rectangle ignores its rotation field.
        kz_graphics_DrawRect(x, y, sizeX * m_scaleX, sizeY * m_scaleY);
    } else if (kind == kOvalRecord) {
        kz_graphics_DrawEllipse(x, y, sizeX * m_scaleX, sizeY * m_scaleY);
    } else if (kind >= 0 && kind < image_id::kSlots) {
        // An empty slot, or a frame the image does not have, draws nothing.
        kz_graphics_DrawImage2(m_images[static_cast<int>(kind)], x, y, record[draw_record::rotation],
                               sizeX * m_scaleX * m_hdScale, sizeY * m_scaleY * m_hdScale,
                               TruncToInt(record[draw_record::frame]));
    }
    return 0;
}
