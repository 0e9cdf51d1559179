// The proportional bitmap text writer: one image record per visible
// character of the font image, with narrow and wide letters, button glyphs
// written as "¬" and a letter, and "\n" (a backslash and an "n") as line break.
#include "game/myapp.h"

namespace {

constexpr Char kGlyphMark = 172;  // "¬": the next letter names a button glyph
constexpr int kFirstFontChar = 32;
constexpr int kLastGlyphFrame = 127;
constexpr int kGlyphMarkMeasure = 2;  // a glyph pair measures as advance + 2
constexpr int kButtonGlyphWidth = 4;
constexpr int kWideButtonGlyphWidth = 6;
constexpr int kKeyboardGlyphOffset = 16;  // keyboard glyphs 112.. follow the controller's 96..

// The width adjustment of a font frame: wide and narrow letters.
int FrameWidthAdjustment(int frame) {
    switch (frame) {
        case 'w' - kFirstFontChar:
        case 'm' - kFirstFontChar: return 2;
        case 'W' - kFirstFontChar:
        case 'M' - kFirstFontChar: return 1;
        case 'i' - kFirstFontChar:
        case 'f' - kFirstFontChar:
        case 'l' - kFirstFontChar: return -3;
        case 'j' - kFirstFontChar:
        case 's' - kFirstFontChar:
        case 'k' - kFirstFontChar:
        case 'r' - kFirstFontChar:
        case 'z' - kFirstFontChar:
        case 't' - kFirstFontChar:
        case 'n' - kFirstFontChar: return -1;
        default: return 0;
    }
}

// The controller's glyph frame for the letter after "¬"; a letter without a
// glyph of its own gives its own code.
int ButtonGlyphFrame(Char letter) {
    switch (letter) {
        case 'J': return 96;
        case 'K': return 97;
        case 'L': return 98;
        case 'I': return 99;
        case 'U': return 100;
        case 'O': return 101;
        case 'Q': return 102;
        case 'E': return 103;
        case 'F': return 104;
        case 'W': return 105;
        case 'S': return 106;
        case 'A': return 107;
        case 'D': return 108;
        default: return letter;
    }
}

bool IsLineBreak(const String& s, int i) { return s[i] == '\\' && i + 1 < s.Length() && s[i + 1] == 'n'; }

// The width the alignment uses, truncated to whole units after every
// character. The last character is not measured; a glyph pair counts once.
int MeasureText(const String& s, int advance, float sizeX) {
    int width = 0;
    for (int i = 0; i < s.Length() - 1; ++i) {
        int adjustment;
        if (s[i] == kGlyphMark) {
            ++i;
            adjustment = kGlyphMarkMeasure;
        } else {
            adjustment = FrameWidthAdjustment(s[i] - kFirstFontChar);
        }
        width = TruncToInt(static_cast<float>(width) + static_cast<float>(adjustment + advance) * sizeX);
    }
    return width;
}

}  // namespace

int c_MyApp::p_Text(float x, float y, String text, float ax, float ay) {
    const int advance = m_imageInfo[image_info::Index(m_fontImage, image_info::kFrameWidth)];
    const int lineHeight = m_imageInfo[image_info::Index(m_fontImage, image_info::kFrameHeight)];
    const String s = String(" ") + text;
    const int n = s.Length();

    const SinCos turn = SinCosOfDegrees(-m_rotation);
    const float cosT = turn.cos;
    const float sinT = turn.sin;
    const float width = static_cast<float>(MeasureText(s, advance, m_sizeX));
    const float height = static_cast<float>(lineHeight) * m_sizeY;
    const float k = (ay - 1) * 0.5f;
    const float startX = x - cosT * width * ax * 0.5f + sinT * height * k;
    const float startY = y - sinT * width * ax * 0.5f - cosT * height * k;

    float penX = startX;
    float penY = startY;
    int lines = 0;
    for (int i = 0; i < n; ++i) {
        const Char c = s[i];
        if (IsLineBreak(s, i)) {
            ++i;
            ++lines;
            const float d = static_cast<float>(lines * lineHeight) * m_sizeY;
            penX = startX - sinT * d;
            penY = startY + cosT * d;
            continue;
        }
        int frame = c - kFirstFontChar;
        int adjustment = 0;
        if (c == kGlyphMark) {
            // A "¬" with nothing after it ends the text.
            if (i + 1 >= n) break;
            const Char letter = s[++i];
            frame = ButtonGlyphFrame(letter);
            adjustment = letter == 'U' || letter == 'O' ? kWideButtonGlyphWidth : kButtonGlyphWidth;
            if (m_padGlyphs == 0) frame += kKeyboardGlyphOffset;
        }
        if (const int classAdjustment = FrameWidthAdjustment(frame)) adjustment = classAdjustment;

        if (frame >= 1 && frame <= kLastGlyphFrame) p_DrawImg(m_fontImage, penX, penY, static_cast<float>(frame));
        if (c == 0) continue;
        const float d = static_cast<float>(adjustment + advance) * m_sizeX;
        penX += cosT * d;
        penY += sinT * d;
    }
    return 0;
}
