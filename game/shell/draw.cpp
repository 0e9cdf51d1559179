// The draw state and the display list: every drawing operation appends one
// record of 15 floats carrying the current scale, rotation, colour, alpha and
// blend code; the render replays the list. Also the palette and the number
// formatter.
#include "game/screens/kit.h"

namespace {

// The last record starts at or below this index, so at most 2,499 records fit.
constexpr int kLastRecordStart = draw_record::kListFloats - 16;

// Channel factors of the palette colours 1 to 9; any other colour is grey.
struct InkFactors {
    float red, green, blue;
};
constexpr InkFactors kInks[] = {
    {1.0f, 0.1f, 0.1f}, {1.0f, 0.5f, 0.1f}, {1.0f, 1.0f, 0.1f}, {0.1f, 1.0f, 0.1f}, {0.1f, 1.0f, 1.0f},
    {0.1f, 0.1f, 1.0f}, {0.5f, 0.1f, 1.0f}, {1.0f, 0.1f, 0.5f}, {1.0f, 1.0f, 1.0f},
};
constexpr InkFactors kGreyInk = {0.3f, 0.3f, 0.3f};

float ClampChannel(float value) { return Clamp(value, 0.0f, 255.0f); }

// Writes one record with the current draw state and the three kind-specific
// values (sizes and frame).
void AppendRecord(c_MyApp& app, float kind, float x, float y, float sizeX, float sizeY, float frame) {
    if (app.m_drawCount > kLastRecordStart) return;
    float* record = &app.m_drawList[app.m_drawCount];
    record[draw_record::kind] = kind;
    record[draw_record::x] = x;
    record[draw_record::y] = y;
    record[draw_record::rotation] = app.m_rotation;
    record[draw_record::sizeX] = sizeX;
    record[draw_record::sizeY] = sizeY;
    record[draw_record::frame] = frame;
    record[draw_record::alpha] = app.m_alpha;
    record[draw_record::red] = app.m_red;
    record[draw_record::green] = app.m_green;
    record[draw_record::blue] = app.m_blue;
    record[draw_record::blend] = static_cast<float>(app.m_blend);
    app.m_drawCount += draw_record::kFloats;
}

}  // namespace

int c_MyApp::p_ResetDraw() {
    m_sizeX = 1;
    m_sizeY = 1;
    m_red = 255;
    m_green = 255;
    m_blue = 255;
    m_rotation = 0;
    m_alpha = 1.0f;
    m_blend = 1;
    return 0;
}

int c_MyApp::p_CLS2D(float r, float g, float b, float a) {
    if (r > kNoValue) {
        m_clsRed = r;
        m_clsGreen = g;
        m_clsBlue = b;
        m_clsAlpha = a;
    }
    p_ResetDraw();
    m_drawCount = 0;
    return 0;
}

int c_MyApp::p_SetSize(float sx, float sy) {
    m_sizeX = sx;
    m_sizeY = sy > kNoValue ? sy : sx;
    return 0;
}

// Stored negated: the display list carries the renderer's sense of rotation.
int c_MyApp::p_SetRot(float angle) {
    m_rotation = -angle;
    return 0;
}

int c_MyApp::p_SetCol(float r, float g, float b, float a) {
    m_red = r;
    m_green = g;
    m_blue = b;
    if (a > kNoValue) m_alpha = a;
    return 0;
}

int c_MyApp::p_Alpha(float a) {
    m_alpha = a;
    return 0;
}

int c_MyApp::p_Ink(int colour, int brightness) {
    const InkFactors& ink = colour >= 1 && colour <= 9 ? kInks[colour - 1] : kGreyInk;
    // In float, so that no brightness can overflow an int product.
    const float scale = static_cast<float>(brightness) * 255.0f;
    m_red = ClampChannel(ink.red * scale);
    m_green = ClampChannel(ink.green * scale);
    m_blue = ClampChannel(ink.blue * scale);
    return 0;
}

int c_MyApp::p_DrawImg(int image, float x, float y, float frame) {
    AppendRecord(*this, static_cast<float>(image), x, y, m_sizeX, m_sizeY, frame);
    return 0;
}

int c_MyApp::p_Rect(float x, float y, float w, float h) {
    AppendRecord(*this, kNoValue, x, y, w, h, 0);
    return 0;
}

int c_MyApp::p_Oval(float x, float y, float rx, float ry) {
    AppendRecord(*this, kOvalRecord, x, y, rx, ry, 0);
    return 0;
}

// `value` right-aligned in `width` characters: the last `width` characters of
// `pad` repeated width + 1 times followed by the digits, so a longer number is
// cut on the left. Only as many pads as can show are joined (doubling), which
// gives the same text without a copy per character.
String c_MyApp::p_rstr(int value, int width, String pad) {
    const String digits(value);
    if (width <= 0) return pad + digits;
    String padded = pad;
    while (pad.Length() > 0 && padded.Length() + digits.Length() < width) padded = padded + padded;
    const String text = padded + digits;
    return text.Length() <= width ? text : text.Substring(text.Length() - width);
}
